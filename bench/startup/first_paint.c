/* Measures how long a program takes from its start to the first painting of its first
 * top-level window on an X display (run it under xvfb-run). It watches the root window for
 * a window being mapped, then samples that window's pixels until they are no longer one
 * flat colour (the menu bar and the bars have been drawn). The program is then ended.
 *
 *   first_paint RUNS PROGRAM [ARGS...]
 *
 * Prints one line per run with the milliseconds to mapping and to the first painting, then
 * the median of each.
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

/* Whether the window shows more than one colour: something has been drawn in it. */
static int isPainted(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return 0;
    const int width = attributes.width < 400 ? attributes.width : 400;
    const int height = attributes.height < 60 ? attributes.height : 60;
    if (width <= 0 || height <= 0)
        return 0;
    XImage* image = XGetImage(display, window, 0, 0, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    const unsigned long first = XGetPixel(image, 0, 0);
    int painted = 0;
    for (int y = 0; y < height && !painted; ++y)
        for (int x = 0; x < width && !painted; ++x)
            painted = XGetPixel(image, x, y) != first;
    XDestroyImage(image);
    return painted;
}

static int ignoreErrors(Display* display, XErrorEvent* error)
{
    (void)display;
    (void)error;
    return 0;
}

static int compare(const void* a, const void* b)
{
    const double x = *(const double*)a, y = *(const double*)b;
    return (x > y) - (x < y);
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s RUNS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int runs = atoi(argv[1]);
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);

    double* mapped = calloc((size_t)runs, sizeof(double));
    double* painted = calloc((size_t)runs, sizeof(double));
    for (int run = 0; run < runs; ++run) {
        XSync(display, True);  /* forget events of earlier runs */
        const double start = nowMs();
        const pid_t child = fork();
        if (child == 0) {
            execv(argv[2], argv + 2);
            _exit(127);
        }
        Window window = 0;
        while (!window) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                window = event.xmap.window;
        }
        mapped[run] = nowMs() - start;
        const struct timespec pause = {0, 500000};
        while (!isPainted(display, window))
            nanosleep(&pause, NULL);
        painted[run] = nowMs() - start;
        printf("run %d: mapped %.1f ms, painted %.1f ms\n", run + 1, mapped[run], painted[run]);
        fflush(stdout);
        kill(child, SIGTERM);
        waitpid(child, NULL, 0);
    }
    qsort(mapped, (size_t)runs, sizeof(double), compare);
    qsort(painted, (size_t)runs, sizeof(double), compare);
    printf("median: mapped %.1f ms, painted %.1f ms\n", mapped[runs / 2], painted[runs / 2]);
    free(mapped);
    free(painted);
    XCloseDisplay(display);
    return 0;
}
