#include "displays/setup/frm_markers.h"

#include "displays/setup/dialog_place.h"
#include "displays/spectrum/scale.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const QString kSection = QStringLiteral("Markers");

std::int32_t SwatchColour(const QLabel* swatch)
{
    return rgb::fromColor(swatch->palette().color(QPalette::Window));
}

void SetSwatchColour(QLabel* swatch, std::int32_t colour)
{
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, rgb::toColor(colour));
    swatch->setPalette(pal);
}

bool Invalid(const QString& text, double low, double high)
{
    if (!vb::IsNumeric(text))
        return true;
    const double v = vb::Val(text);
    return v < low || v > high;
}

} // namespace

frmMarkers::frmMarkers(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMarkers"));
    setWindowTitle(QStringLiteral("Frequency Markers setup"));
    auto* grid = new QGridLayout(this);
    for (int k = 1; k <= 4; ++k) {
        grid->addWidget(new QLabel(QStringLiteral("Marker %1 frequency").arg(k), this), k - 1, 0);
        F[k] = new QLineEdit(this);
        F[k]->setObjectName(QStringLiteral("F%1").arg(k));
        grid->addWidget(F[k], k - 1, 1);
        QLabel* swatch = Swatch[k - 1] = new QLabel(this);
        swatch->setObjectName(QStringLiteral("Label%1").arg(k + 4));
        swatch->setFixedSize(40, 18);
        swatch->setAutoFillBackground(true);
        swatch->setFrameShape(QFrame::Box);
        swatch->installEventFilter(this);
        grid->addWidget(swatch, k - 1, 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("Marker pen width (Enter from 1 to 5)"), this), 4, 0);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    grid->addWidget(Text1, 4, 1);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    grid->addWidget(OKButton, 5, 1);
    grid->addWidget(CancelButton, 5, 2);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
    Form_Load();
}

void frmMarkers::Form_Load()
{
    CentreOnScreen(*this);
    for (int k = 1; k <= 4; ++k) {
        F[k]->setText(QString::number(MarkerFreq[static_cast<size_t>(k)]));
        SetSwatchColour(Swatch[k - 1], static_cast<std::int32_t>(vb::Val(MarkerColor[static_cast<size_t>(k)])));
    }
    Text1->setText(QString::number(MarkerWidth));
}

void frmMarkers::OKButton_Click()
{
    MainWindowControls* w = ExistingMainWindow();
    for (int k = 1; k <= 4; ++k) {
        const QString text = F[k]->text();
        if (Invalid(text, 300, 3500)) {
            dlg::MsgBox(QStringLiteral("Error in Frequency Marker %1.  Entries must be between 300 and 3500 Hz, and "
                                       "must be numeric.").arg(k),
                        dlg::OKOnly, QStringLiteral("Invalid entry"));
            return;
        }
        WriteINI(kSection, QStringLiteral("Marker %1 Freq").arg(k), text);
        MarkerFreq[static_cast<size_t>(k)] = vb::CInt(vb::Val(text));
        if (w)
            w->mnu(QStringLiteral("mnuMarker%1").arg(k))
                .setCaption(QString::number(MarkerFreq[static_cast<size_t>(k)]) + QStringLiteral(" Hz"));
    }
    const QString width = Text1->text();
    if (Invalid(width, 1, 5)) {
        dlg::MsgBox(QStringLiteral("Error in Marker Wdith.  Entries must be between 1 and 5, and must be numeric."),
                    dlg::OKOnly, QStringLiteral("Invalid entry"));
        return;
    }
    WriteINI(kSection, QStringLiteral("Marker Width"), width);
    MarkerWidth = vb::CLng(vb::Val(width.trimmed()));
    for (int k = 1; k <= 4; ++k)
        WriteINI(kSection, QStringLiteral("Marker %1 Color").arg(k), QString::number(SwatchColour(Swatch[k - 1])));
    for (int k = 1; k <= 4; ++k)
        MarkerColor[static_cast<size_t>(k)] = QString::number(SwatchColour(Swatch[k - 1]));
    RedrawSpectrumScale();
    accept();
}

void frmMarkers::CancelButton_Click()
{
    reject();
}

void frmMarkers::Label_Click(int index)
{
    if (index >= 0 && index < 4)
        doColors(Swatch[static_cast<size_t>(index)]);
}

void frmMarkers::doColors(QLabel* swatch)
{
    if (const auto chosen = dlg::Dialogs::instance().colour(SwatchColour(swatch)))
        SetSwatchColour(swatch, *chosen);
}

bool frmMarkers::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        for (int k = 0; k < 4; ++k)
            if (watched == Swatch[static_cast<size_t>(k)]) {
                Label_Click(k);
                return true;
            }
    return QDialog::eventFilter(watched, event);
}

void mnuMark_Click()
{
    frmMarkers dialog(MainWindowWidget());
    AroundTopmost([&dialog] { dlg::ShowModal(dialog); });
}
