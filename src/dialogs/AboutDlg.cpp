#include "dialogs/AboutDlg.h"

#include "res/AppIcon.h"
#include "dialogs/ResourceText.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(resourceText(res::IDS_ABOUT_CAPTION));
    auto* icon = new QLabel(this);
    icon->setPixmap(res::appIcon().pixmap(32, 32));
    auto* version = new QLabel(resourceText(res::IDS_ABOUT_VERSION), this);
    version->setObjectName(QStringLiteral("version"));
    auto* copyright = new QLabel(resourceText(res::IDS_ABOUT_COPYRIGHT), this);
    auto* notice = new QLabel(resourceText(res::IDS_ABOUT_NOTICE), this);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(resourceText(res::IDS_BUTTON_OK), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(version, 0, 1);
    grid->addWidget(copyright, 1, 1);
    grid->addWidget(notice, 2, 1);
    grid->addWidget(buttons, 0, 2, 3, 1, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    setSizeGripEnabled(false);
}
