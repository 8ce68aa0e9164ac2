#include "displays/setup/waterfall_colors.h"

#include "displays/drawing/palette.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace {

int swatchComponent(const QString& text)
{
    const double v = vb::Val(text);
    return v <= 0 ? 0 : v >= 255 ? 255 : static_cast<int>(v);
}

} // namespace

WaterfallColors::WaterfallColors(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("WaterfallColors"));
    setWindowTitle(QStringLiteral("Set Waterfall colors"));
    auto* grid = new QGridLayout(this);
    Label2 = new QLabel(QStringLiteral("Red          Green          Blue"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(Label2, 0, 1, 1, 3);
    for (int k = 0; k < 12; ++k) {
        Label1[k] = new QLabel(this);
        Label1[k]->setObjectName(QStringLiteral("Label1(%1)").arg(k));
        Label1[k]->setFixedSize(40, 18);
        Label1[k]->setAutoFillBackground(true);
        Label1[k]->setFrameShape(QFrame::Box);
        Label1[k]->installEventFilter(this);
        grid->addWidget(Label1[k], k + 1, 0);
        int column = 1;
        for (auto* boxes : {&Text1, &Text2, &Text3}) {
            auto* box = new QLineEdit(this);
            box->setObjectName(QStringLiteral("Text%1(%2)").arg(column).arg(k));
            box->setFixedWidth(48);
            (*boxes)[k] = box;
            grid->addWidget(box, k + 1, column++);
            connect(box, &QLineEdit::textChanged, this, [this, box] { TextChange(box); });
        }
    }
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    Default = new QPushButton(QStringLiteral("&Default"), this);
    Default->setObjectName(QStringLiteral("Default"));
    grid->addWidget(OKButton, 13, 1);
    grid->addWidget(Default, 13, 3);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(Default, &QPushButton::clicked, this, [this] { Default_Click(); });
    Form_Load();
}

void WaterfallColors::Form_Load()
{
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    for (int k = 0; k < 12; ++k) {
        Text1[k]->setText(WaterfallPalette[0][k + 1]);
        Text2[k]->setText(WaterfallPalette[1][k + 1]);
        Text3[k]->setText(WaterfallPalette[2][k + 1]);
    }
    OKButton->setEnabled(false);
    loaded_ = true;
}

// Each rewrite raises the change again, so the corrected text is checked too.
void WaterfallColors::TextChange(QLineEdit* box)
{
    const QString text = box->text();
    if (text.size() >= 4) {
        box->setText(text.left(3));
        return;
    }
    if (text.isEmpty()) {
        box->setText(QStringLiteral("0"));
        return;
    }
    const double v = vb::Val(text);
    if (v > 255) {
        box->setText(QStringLiteral("255"));
        return;
    }
    if (v < 0) {
        box->setText(QStringLiteral("0"));
        return;
    }
    ShowColorSwatches();
    if (loaded_)
        OKButton->setEnabled(true);
}

void WaterfallColors::ShowColorSwatches()
{
    for (int k = 0; k < 12; ++k) {
        if (!Label1[k] || !Text1[k] || !Text2[k] || !Text3[k])
            continue;
        QPalette pal = Label1[k]->palette();
        pal.setColor(QPalette::Window, QColor(swatchComponent(Text1[k]->text()), swatchComponent(Text2[k]->text()),
                                              swatchComponent(Text3[k]->text())));
        Label1[k]->setPalette(pal);
    }
}

void WaterfallColors::Label1_Click(int index)
{
    if (index < 0 || index >= 12)
        return;
    const std::int32_t current = rgb::fromColor(Label1[index]->palette().color(QPalette::Window));
    const auto chosen = dlg::Dialogs::instance().colour(current);
    if (!chosen)
        return;
    Text1[index]->setText(QString::number(*chosen & 0xFF));
    Text2[index]->setText(QString::number((*chosen >> 8) & 0xFF));
    Text3[index]->setText(QString::number((*chosen >> 16) & 0xFF));
}

void WaterfallColors::OKButton_Click()
{
    for (int k = 0; k < 12; ++k) {
        WaterfallPalette[0][k + 1] = Text1[k]->text();
        WaterfallPalette[1][k + 1] = Text2[k]->text();
        WaterfallPalette[2][k + 1] = Text3[k]->text();
    }
    SaveWaterfallColors();
    accept();
}

void WaterfallColors::Default_Click()
{
    for (int c = 0; c < 3; ++c)
        for (int level = 1; level <= 12; ++level)
            WaterfallPalette[c][level] = DefaultWaterfallPalette[c][level];
    SaveWaterfallColors();
    accept();
}

bool WaterfallColors::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        for (int k = 0; k < 12; ++k)
            if (watched == Label1[k]) {
                Label1_Click(k);
                return true;
            }
    return QDialog::eventFilter(watched, event);
}
