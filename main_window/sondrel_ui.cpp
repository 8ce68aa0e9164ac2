// The main window's controls, laid out as a keyboard-mode terminal: the display panel on top,
// the receive text, the transmit text, the QSO panel, the macro button rows and the status bar.
#include "main_window/sondrel.h"

#include "core/macros/macrobutton.h"
#include "core/transmit/txwindow.h"
#include "platform/vb/units.h"
#include "platform/widgets/picturebox.h"
#include "platform/widgets/richtext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QPixmap lightPixmap(const QColor& c)
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(c);
    painter.setPen(c.darker(160));
    painter.drawEllipse(1, 1, 14, 14);
    return p;
}

QLineEdit* box(QWidget* parent, const char* name, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

// A box never narrower than the longest text it is meant to show whole.
void fitText(QLineEdit* e, const char* longest)
{
    const QMargins m = e->textMargins() + e->contentsMargins();
    constexpr int kFrameAndCursor = 10;
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QString::fromLatin1(longest)) + m.left() + m.right()
                       + kFrameAndCursor);
}

} // namespace

void Sondrel::buildControls()
{
    setObjectName(QStringLiteral("Sondrel"));
    setWindowTitle(QStringLiteral("Sondrel"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);

    Red = new QPixmap(lightPixmap(QColor(220, 0, 0)));
    Green = new QPixmap(lightPixmap(QColor(0, 190, 0)));
    Orange = new QPixmap(lightPixmap(QColor(255, 150, 0)));

    // Upper panel: display panel with its scale, then the two text windows.
    UpperBackground = new QWidget(central);
    UpperBackground->setObjectName(QStringLiteral("UpperBackground"));
    auto* upper = new QVBoxLayout(UpperBackground);
    upper->setContentsMargins(0, 0, 0, 0);
    upper->setSpacing(0);
    TextSplitter = new QSplitter(Qt::Vertical, UpperBackground);
    TextSplitter->setObjectName(QStringLiteral("TextSplitter"));
    TextSplitter->setChildrenCollapsible(false);

    Label = new QWidget(TextSplitter);
    Label->setObjectName(QStringLiteral("Label"));
    auto* display = new QVBoxLayout(Label);
    display->setContentsMargins(0, 0, 0, 0);
    display->setSpacing(0);
    Spectrum = new PictureBox(Label, QStringLiteral("Spectrum"));
    Spectrum->setMinimumHeight(40);
    Graticule = new PictureBox(Label, QStringLiteral("Graticule"));
    Graticule->setFixedHeight(36);
    Graticule->setBackColor(QColor(192, 192, 192));
    int k = 1;
    for (QLabel** scaleLabel : {&Label1000, &Label2000, &Label3000, &Label4000}) {
        *scaleLabel = new QLabel(QString::number(1000 * k), Graticule);
        (*scaleLabel)->setObjectName(QStringLiteral("Label%1").arg(1000 * k++));
        (*scaleLabel)->setAlignment(Qt::AlignCenter);
        (*scaleLabel)->setGeometry(0, 21, 48, 14);
    }
    display->addWidget(Graticule);
    display->addWidget(Spectrum, 1);
    Label->setMinimumHeight(80);

    RxWindow = new QTextEdit(TextSplitter);
    RxWindow->setObjectName(QStringLiteral("RxWindow"));
    RxWindow->setReadOnly(true);
    RxWindow->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    TxWindow = new TxTextEdit(TextSplitter);
    TxWindow->setObjectName(QStringLiteral("TxWindow"));
    TxWindow->setAcceptRichText(false);
    Rx = std::make_unique<RichText>(RxWindow);
    Tx = std::make_unique<RichText>(TxWindow);
    TextSplitter->setStretchFactor(0, 0);
    TextSplitter->setStretchFactor(1, 3);
    TextSplitter->setStretchFactor(2, 1);
    upper->addWidget(TextSplitter);

    // The QSO panel sits between the text windows and the macro buttons.
    vsElastic3 = new QWidget(central);
    vsElastic3->setObjectName(QStringLiteral("vsElastic3"));
    buildQsoPanel(vsElastic3);

    column->addWidget(UpperBackground, 1);
    column->addWidget(vsElastic3);
    buildMacroRows(central);
    for (int r = 1; r <= 3; ++r)
        column->addWidget(Background[r]);

    buildStatusBar();
    column->addWidget(DummyStatusBar);

    // Hidden helpers of the Logger link.
    FreqHolder = box(central, "FreqHolder", 0);
    FreqHolder->setText(QStringLiteral("Freq Holder"));
    FreqHolder->hide();

    Toolbar = new QToolBar(QStringLiteral("RTTY"), this);
    Toolbar->setObjectName(QStringLiteral("Toolbar"));
    addToolBar(Qt::TopToolBarArea, Toolbar);
    Toolbar->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    buildMenus();
    resize(twips::toPixels(12000), twips::toPixels(9000));
}

void Sondrel::buildQsoPanel(QWidget* panel)
{
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    struct Field { const char* label; const char* name; int max; int stretch; QLineEdit** target; const char* longest; };
    const Field fields[] = {
        {"Call", "CallsignBox", 15, 2, &CallsignBox, "DL1ABC/QRP"}, {"Name", "NameBox", 50, 3, &NameBox, "Maximilian"},
        {"QTH", "QTHBox", 50, 3, &QTHBox, "Johannesburg"},         {"My RST", "MyRSTBox", 10, 1, &MyRSTBox, "599"},
        {"His RST", "HisRSTBox", 10, 1, &HisRSTBox, "599"},        {"Note", "NotesBox", 100, 4, &NotesBox, "Maximilian"},
    };
    int col = 0;
    for (const Field& f : fields) {
        grid->addWidget(new QLabel(QString::fromLatin1(f.label), panel), 0, col);
        *f.target = box(panel, f.name, f.max);
        fitText(*f.target, f.longest);
        grid->addWidget(*f.target, 1, col);
        grid->setColumnStretch(col, f.stretch);
        ++col;
    }
    grid->addWidget(new QLabel(QStringLiteral("Band"), panel), 0, col);
    BandBox = new QComboBox(panel);
    BandBox->setObjectName(QStringLiteral("BandBox"));
    BandBox->setEditable(true);
    grid->addWidget(BandBox, 1, col++);
    auto button = [panel](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), panel);
        b->setObjectName(QString::fromLatin1(name));
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    LogButton = button("LogButton", "Log");
    ClearButton = button("ClearButton", "Clear");
    PageButton = button("PageButton", "Page");
    PreviousButton = button("PreviousButton", "Prev");
    for (QPushButton* b : {LogButton, ClearButton, PageButton, PreviousButton})
        grid->addWidget(b, 1, col++);
    panel->setFixedHeight(twips::toPixels(750));
}

void Sondrel::buildMacroRows(QWidget* parent)
{
    for (int r = 1; r <= 3; ++r) {
        Background[r] = new QWidget(parent);
        Background[r]->setObjectName(QStringLiteral("Background%1").arg(r));
        auto* row = new QHBoxLayout(Background[r]);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(1);
        for (int i = 1; i <= 12; ++i) {
            const int index = (r - 1) * 12 + i;
            Command1[index] = new MacroButton(index, Background[r]);
            row->addWidget(Command1[index]);
        }
        Background[r]->setFixedHeight(twips::toPixels(275));
    }
}

void Sondrel::buildStatusBar()
{
    DummyStatusBar = new QWidget(centralWidget());
    DummyStatusBar->setObjectName(QStringLiteral("DummyStatusBar"));
    auto* row = new QHBoxLayout(DummyStatusBar);
    row->setContentsMargins(2, 0, 2, 0);
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, DummyStatusBar);
        l->setObjectName(QString::fromLatin1(name));
        l->setFrameShape(QFrame::StyledPanel);
        return l;
    };
    ModeLabel = label("ModeLabel", QString());
    AFCBox = label("AFCBox", QStringLiteral("AFC On"));
    NetBox = label("NetBox", QStringLiteral("Net On"));
    TxRxBox = label("TxRxBox", QStringLiteral("Receive"));
    DuplexBox = label("DuplexBox", QStringLiteral("Simplex"));
    RFFrequencyBox = box(DummyStatusBar, "RFFrequencyBox", 0);
    RFFrequencyBox->setReadOnly(true);
    RFFrequencyBox->setFocusPolicy(Qt::NoFocus);
    AudioFreqBox = box(DummyStatusBar, "AudioFreqBox", 0);
    IMDBox = box(DummyStatusBar, "IMDBox", 0);
    for (QLineEdit* readout : {AudioFreqBox, IMDBox}) {
        readout->setReadOnly(true);
        readout->setFocusPolicy(Qt::NoFocus);
    }
    // The longest texts the readouts show: a VHF dial, an audio frequency, a reversed RTTY shift.
    fitText(RFFrequencyBox, "999999.999 KHz");
    fitText(AudioFreqBox, "3500.0 Hz");
    fitText(IMDBox, "-1000 Hz");
    for (QLineEdit* readout : {RFFrequencyBox, AudioFreqBox, IMDBox})
        readout->setMaximumWidth(readout->minimumWidth());
    Label3 = label("Label3", QStringLiteral("Reset"));
    Label4 = label("Label4", QStringLiteral("Abort"));
    Image1 = label("Image1", QString());
    Image1->setFrameShape(QFrame::NoFrame);
    Image1->setPixmap(*Green);
    Image2 = label("Image2", QString());
    Image2->setFrameShape(QFrame::NoFrame);
    Image2->setPixmap(*Red);
    row->addWidget(ModeLabel);
    row->addWidget(AFCBox);
    row->addWidget(NetBox);
    row->addWidget(TxRxBox);
    row->addWidget(DuplexBox);
    row->addStretch(1);
    row->addWidget(Label3);
    row->addWidget(Label4);
    row->addWidget(AudioFreqBox);
    row->addWidget(IMDBox);
    row->addWidget(RFFrequencyBox);
    row->addWidget(Image1);
    row->addWidget(Image2);
    DummyStatusBar->setFixedHeight(twips::toPixels(300));
}
