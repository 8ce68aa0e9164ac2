#include "main_window/frmsplash.h"

#include "main_window/logo.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("  VIZ.  Loading ....."));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* outer = new QVBoxLayout(this);
    Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::Box);
    Frame1->installEventFilter(this);
    outer->addWidget(Frame1);
    auto* row = new QHBoxLayout(Frame1);
    imgLogo = new QLabel(Frame1);
    imgLogo->setPixmap(SondrelLogo(96));
    row->addWidget(imgLogo);
    auto* text = new QVBoxLayout;
    lblProductName = new QLabel(Frame1);
    QFont big = lblProductName->font();
    big.setPointSize(big.pointSize() + 10);
    big.setBold(true);
    lblProductName->setFont(big);
    lblVersion = new QLabel(Frame1);
    text->addWidget(lblProductName);
    text->addWidget(lblVersion);
    text->addWidget(new QLabel(QStringLiteral("PSK31 and RTTY through your sound card"), Frame1));
    text->addWidget(new QLabel(QStringLiteral("Logbook, macros and radio control"), Frame1));
    text->addWidget(new QLabel(QStringLiteral("Loading, please wait ..."), Frame1));
    row->addLayout(text);
}

void frmSplash::Form_Load()
{
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(SONDREL_VERSION_MAJOR)
                            .arg(SONDREL_VERSION_MINOR)
                            .arg(SONDREL_VERSION_PATCH));
    lblProductName->setText(QStringLiteral("Sondrel"));
}

void frmSplash::keyPressEvent(QKeyEvent*)
{
    close();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Frame1 && e->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}
