#include "radio_control/rig.h"

#include "platform/dialogs.h"
#include "platform/text1252.h"
#include "platform/vbnum.h"
#include "radio_control/cat_commands.h"
#include "radio_control/kachina_file.h"
#include "radio_control/radio_types.h"
#include "radio_control/reply_parsers.h"

#include <limits>

namespace varnel {

const QString Rig::kApplicationTitle = QStringLiteral("Varnel");

namespace {
const QString kPollTag = QStringLiteral("FromFreq");
} // namespace

Rig::Rig(QObject* parent)
    : QObject(parent)
    , box_([](const QString& text, int style, const QString& title) {
        return dlg::MsgBox(text, style, title);
    })
{
    connect(&timer_, &QTimer::timeout, this, &Rig::timerTick);
}

Rig::~Rig()
{
    delete window_.data();
}

std::shared_ptr<Rig> Rig::shared()
{
    static std::weak_ptr<Rig> state;
    std::shared_ptr<Rig> rig = state.lock();
    if (!rig) {
        rig = std::make_shared<Rig>();
        state = rig;
    }
    return rig;
}

bool Rig::setRadioType(const QString& name)
{
    if (const auto code = radioCodeForName(name)) {
        code_ = *code;
        return true;
    }
    box_(QStringLiteral("Radio Type ") + name + QStringLiteral(" is not supported by this .OCX"),
         dlg::OKOnly, QStringLiteral("Unsupported Radio type"));
    code_ = NoRadio;
    return false;
}

int Rig::report(const VbError& e)
{
    if (!failed(e))
        return 1;
    box_(e.text(), dlg::OKOnly, kApplicationTitle);
    return 0;
}

int Rig::commPort(int n) { return report(port_.setCommPort(n)); }
int Rig::handshaking(int type) { return report(port_.setHandshaking(type)); }
int Rig::settings(const QString& text) { return report(port_.setSettings(text)); }
int Rig::portOpen(bool open) { return report(port_.setPortOpen(open)); }
int Rig::dtrEnable(bool on) { return report(port_.setDTREnable(on)); }
int Rig::rtsEnable(bool on) { return report(port_.setRTSEnable(on)); }

int Rig::setPollInterval(int ms)
{
    if (ms < 0)
        return report(comm::error(comm::kInvalidPropertyValue));
    if (ms == 0)
        timer_.stop();
    else
        timer_.start(ms);
    return 1;
}

int Rig::setIcomAddress(const QString& address)
{
    civAddress_ = address;
    if (!civAddress(address))
        debugMessage(QStringLiteral("CI-V address \"%1\" is not a hexadecimal address from 01 to 7F: "
                                    "no CI-V command will be sent.").arg(address));
    return 1;
}

void Rig::putRadioFileName(const QString& path)
{
    dataFile_ = vb::Trim(path);
}

void Rig::queueCommand(QueuedCommand command)
{
    if (const auto lost = queue_.push(std::move(command)))
        debugMessage(QStringLiteral("Queue full: command dropped: ")
                     + (lost->hex ? DebugWindow::hexForm(lost->bytes) : cp1252::decode(lost->bytes)));
}

void Rig::queueStatusPoll(const QString& tag)
{
    const CatBuild poll = statusPoll(code_, civAddress_);
    if (!poll.refusal.isEmpty())
        debugMessage(poll.refusal);
    for (const CatCommand& c : poll.commands)
        queueCommand({c.bytes, c.hex, tag, false});
}

void Rig::setRadioFrequency(const QString& freqKHz)
{
    if (code_ == Kachina505) {
        writeRadioDataFrequency(freqKHz);
        return;
    }
    const CatBuild build = setFrequencyCommand(code_, freqKHz, civAddress_);
    if (!build.refusal.isEmpty())
        debugMessage(build.refusal);
    for (const CatCommand& c : build.commands)
        queueCommand({c.bytes, c.hex, QString(), false});
}

void Rig::setPttByCommand(bool on)
{
    const CatBuild build = pttCommand(code_, on, civAddress_);
    if (!build.refusal.isEmpty())
        debugMessage(build.refusal);
    for (const CatCommand& c : build.commands)
        queueCommand({c.bytes, c.hex, QString(), true});
}

void Rig::setDirectRadioCommand(const QString& text, bool hex)
{
    queueCommand({cp1252::encode(vb::Trim(text)), hex, QString(), false});
}

void Rig::inputTestString(const QString& text)
{
    processRadioInput(cp1252::encode(text));
}

void Rig::processRadioInput(const QByteArray& bytes)
{
    buffer_ += bytes;
    if (!hasReplyParser(code_)) {
        if (buffer_.size() > kUnparsedBufferLimit)
            buffer_ = buffer_.right(kUnparsedBufferLimit);
        return;
    }
    const ParseResult r = parseReply(code_, buffer_);
    if (r.kind == ParseResult::Wait)
        return;
    if (r.showLine)
        debugLine(buffer_, r.showHex, DebugWindow::RX);
    if (r.kind == ParseResult::Taken) {
        if (r.freqKHz)
            freq_ = r.freqText;
        if (!r.mode.isEmpty())
            mode_ = r.mode;
        if (window_) {
            if (r.freqKHz)
                window_->setFrequencyLabel(vb::Str(*r.freqKHz));
            window_->setModeLabel(mode_);
        }
        clearRadioState();
    }
    buffer_.clear();
}

void Rig::timerTick()
{
    if (!port_.isOpen()) {
        if (code_ == Kachina505)
            readRadioDataFile();
        return;
    }
    int waiting = 0;
    VbError e = port_.inBufferCount(waiting);
    if (!failed(e) && waiting > 0) {
        QByteArray data;
        e = port_.input(data);
        processRadioInput(data); // what was read before a failure still counts
    }
    if (failed(e))
        debugMessage(e.text());

    if (!stateTag_.isEmpty())
        doStateMachineReset();
    else if (queue_.isEmpty())
        queueStatusPoll(kPollTag);
    else
        popRadioMessage();
}

void Rig::doStateMachineReset()
{
    if (++stallCounter_ != kStallLimit)
        return;
    stallCounter_ = 0;
    stateTag_.clear();
    buffer_.clear();
    freq_ = QStringLiteral("0");
    debugMessage(QStringLiteral("Timer Fired : Forced StateMachine reset (I got tired of waiting)."));
}

void Rig::popRadioMessage()
{
    if (queue_.isEmpty())
        return;
    const QueuedCommand& head = queue_.at(0);
    const VbError e = port_.output(head.bytes);
    if (failed(e)) {
        // The command stays at the head and goes out on a later tick.
        debugMessage(e.text());
        return;
    }
    debugLine(head.bytes, head.hex, DebugWindow::TX);
    stateTag_ = vb::Trim(head.tag);
    queue_.pop();
}

void Rig::nowOutputToRadio(const QByteArray& bytes, bool hex)
{
    const VbError e = port_.output(bytes);
    if (failed(e)) {
        debugMessage(e.text());
        return;
    }
    debugLine(bytes, hex, DebugWindow::TX);
}

void Rig::readRadioDataFile()
{
    debugLine(cp1252::encode(QStringLiteral("Kachina data read at : ") + dataFile_), false,
              DebugWindow::TX);
    const auto record = kachina::readRecord(dataFile_);
    if (!record)
        return;
    kachinaRecord_ = *record;
    const kachina::RecordValues v = kachina::parseRecord(kachinaRecord_);
    if (!v.freqText.isEmpty())
        freq_ = v.freqText;
    if (!v.mode.isEmpty())
        mode_ = v.mode;
    debugLine(kachinaRecord_, true, DebugWindow::RX);
    if (window_) {
        window_->setFrequencyLabel(freq_);
        window_->setModeLabel(mode_);
    }
}

void Rig::writeRadioDataFrequency(const QString& freqKHz)
{
    if (!isFrequencyText(freqKHz)) {
        debugMessage(QStringLiteral("Frequency \"%1\" is not a number of kHz: radio data file not written.")
                         .arg(freqKHz));
        return;
    }
    const double hertz = vb::RoundHalfEven(vb::Val(freqKHz) * 1000);
    if (hertz > std::numeric_limits<quint32>::max()) {
        debugMessage(QStringLiteral("Frequency %1 kHz is out of range: radio data file not written.")
                         .arg(vb::Trim(freqKHz)));
        return;
    }
    debugLine(cp1252::encode(QStringLiteral("Write Kachina TX freq : ") + freqKHz), false,
              DebugWindow::TX);
    const kachina::WriteResult w = kachina::writeFrequency(dataFile_, static_cast<quint32>(hertz));
    if (!w.error.isEmpty()) {
        debugMessage(QStringLiteral("Radio data file \"%1\" not written: %2").arg(dataFile_, w.error));
        return;
    }
    kachinaRecord_ = w.record;
}

void Rig::setDebugWindow()
{
    if (window_) {
        window_->close();
        return;
    }
    window_ = new DebugWindow();
    connect(window_, &DebugWindow::unloading, this, [this] { window_ = nullptr; });
    window_->show();
}

void Rig::debugLine(const QByteArray& bytes, bool hex, DebugWindow::Direction direction)
{
    if (window_)
        window_->writeLine(bytes, hex, direction);
}

void Rig::debugMessage(const QString& text)
{
    if (window_)
        window_->writeMessage(text);
}

} // namespace varnel
