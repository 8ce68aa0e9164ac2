#include "main_window/frmabout.h"

#include "main_window/logo.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"
#include "state/mmtty_block.h"

#include <QApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <cstring>

namespace {
constexpr int kEngineVersionOffset = mmtty::kVersion;
}

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    auto* grid = new QGridLayout(this);
    Image1 = new QLabel(this);
    Image1->setPixmap(SondrelLogo(64));
    lblTitle = new QLabel(this);
    QFont big = lblTitle->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(this);
    lblDescription = new QLabel(this);
    lblDescription->setWordWrap(true);
    lblDLLVersion = new QLabel(this);
    lblMMTTYVersion = new QLabel(this);
    lblDisclaimer = new QLabel(this);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setText(QStringLiteral(
        "Thanks to every operator who keeps the keyboard modes alive on the bands, and to the "
        "authors of the open standards and libraries this program stands on."));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    grid->addWidget(Image1, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1);
    grid->addWidget(lblDLLVersion, 3, 1);
    grid->addWidget(lblMMTTYVersion, 4, 1);
    grid->addWidget(lblDisclaimer, 5, 0, 1, 2);
    grid->addWidget(cmdOK, 6, 1, Qt::AlignRight);
    setMinimumWidth(420);
}

void frmAbout::Form_Load()
{
    MMTTYVersion.clear();
    adjustSize();
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect r = s->geometry();
        move(r.width() / 2 - width() / 2, r.height() / 2 - height() / 2);
    }
    if (MMTTYView) {
        char field[8];
        std::memcpy(field, MMTTYView + kEngineVersionOffset, sizeof field);
        // The engine ends its text with a NUL and fills the field with blanks after it.
        MMTTYVersion = cp1252::decode(field, static_cast<qsizetype>(strnlen(field, sizeof field)));
    }
    setWindowTitle(QStringLiteral(" About ") + dlg::applicationTitle());
    lblDescription->setText(QStringLiteral(
        "A terminal for PSK31 and RTTY keyboard-to-keyboard contacts through the sound card."));
    lblVersion->setText(QStringLiteral("Sondrel Version : ") + ProgramVersion);
    if (PSKDLLVersion < 1)
        lblDLLVersion->setText(QStringLiteral("Ferrow DLL Version : Not Loaded."));
    else
        lblDLLVersion->setText(QStringLiteral("Ferrow DLL Version : ") + vb::Fixed(PSKDLLVersion / 100.0, 2));
    const QString v = MMTTYVersion.mid(3);
    if (vb::Val(v) > 0)
        lblMMTTYVersion->setText(QStringLiteral("Tevlin RTTY Engine Version : ") + v);
    else
        lblMMTTYVersion->setText(QStringLiteral("Tevlin RTTY Engine Version : Not Loaded."));
    lblTitle->setText(dlg::applicationTitle());
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void ShowAbout()
{
    frmAbout about(QApplication::activeWindow());
    about.Form_Load();
    dlg::ShowModal(about);
}
