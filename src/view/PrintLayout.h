#pragma once
// The layout of printed pages, without a printer: the page frame (margins, header, body,
// footer) in integer device units, and the body text wrapped at the body width and broken
// into pages. Pagination and printing both call layoutPage with the same frame, so the page
// count a preview shows is the count of pages printed.
//
// Long lines are measured in bounded spans (the pieces of the edit control's long lines), so
// a line of a million units is never measured at once.

#include <string>
#include <string_view>
#include <vector>

namespace view {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// The rectangles of one page; the rules are horizontal lines at ruleY from left to right.
struct PageFrame {
    Rect header;      // one line, text centred
    int headerRuleY = 0;
    Rect body;        // between the two rules
    int footerRuleY = 0;
    Rect footer;      // one line, its bottom at the shrunk bottom plus one text height
};

// Shrinks the page's drawing rectangle by 7.5 % of its width and 5 % of its height on each
// side (integer arithmetic, truncating) and places header, body and footer around the
// shrunk rectangle for a header/footer text height of textHeight.
PageFrame makePageFrame(const Rect& page, int textHeight);

// Widths of text in the body font, in device units.
class Measure {
public:
    virtual ~Measure() = default;
    // The advance of a span holding no tab and no line end.
    virtual double advance(std::u16string_view span) const = 0;
    virtual int lineHeight() const = 0;
    virtual double averageCharWidth() const = 0;
};

// One printed row: text[start, end), without the line end.
struct Row {
    int start = 0;
    int end = 0;
};

struct PageRows {
    std::vector<Row> rows;
    int next = 0;  // where the next page starts; text.size() after the last page
};

class PageLayout {
public:
    // tabChars: one tab stop every tabChars average characters.
    PageLayout(const Measure& measure, const Rect& body, int tabChars);

    // Whether the body has room for at least one row; when not, nothing can be printed.
    bool hasRoom() const { return m_rowsPerPage > 0; }
    int rowsPerPage() const { return m_rowsPerPage; }

    // The rows of the page that starts at `start`. Requires hasRoom().
    PageRows layoutPage(std::u16string_view text, int start) const;
    // The starts of all pages; at least one page (an empty text prints one page).
    std::vector<int> paginate(std::u16string_view text) const;

    // The x of each tab-free span of a row, for drawing: calls draw(x, span start, span end).
    template <class Draw>
    void forEachSpan(std::u16string_view text, const Row& row, Draw draw) const
    {
        double x = 0;
        int from = row.start;
        for (int i = row.start; i <= row.end; ++i) {
            if (i == row.end || text[i] == u'\t') {
                if (i > from) {
                    draw(x, from, i);
                    if (i < row.end)
                        x += m_measure.advance(text.substr(from, i - from));
                }
                if (i < row.end)
                    x = nextTabStop(x);
                from = i + 1;
            }
        }
    }

private:
    double nextTabStop(double x) const;
    // The end of the row that starts at `start` in the line ending at lineEnd.
    int rowEnd(std::u16string_view text, int start, int lineEnd) const;
    // The longest part of text[from, to) (a span without tabs) that fits in `room`, cut at a
    // code-point and cluster boundary; at least one cluster when nothing fits and mustTake.
    int fitPart(std::u16string_view text, int from, int to, double room, bool mustTake) const;

    const Measure& m_measure;
    double m_width;
    double m_tab;
    int m_rowsPerPage;
};

} // namespace view
