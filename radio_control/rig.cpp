#include "radio_control/rig.h"

#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
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
    connect(&reopenTimer_, &QTimer::timeout, this, &Rig::retryLostPort);
}

Rig::~Rig()
{
    // The component ends (the program closes): a transmitter it keyed is not left keyed.
    releaseBeforeClose();
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
        if (*code != code_ && *code == YaesuFT847)
            catOnDue_ = true;
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
int Rig::portOpen(bool open)
{
    // The host's own open or close ends the tries on a port that went away.
    lost_ = false;
    reopenTimer_.stop();
    const bool wasOpen = port_.isOpen();
    if (!open && wasOpen)
        releaseBeforeClose();
    const int result = report(port_.setPortOpen(open));
    if (open && !wasOpen && port_.isOpen())
        afterOpen();
    if (!port_.isOpen())
        holdingOff_ = false;
    return result;
}

void Rig::releaseBeforeClose()
{
    if (!port_.isOpen())
        return;
    // A keying still queued would key the radio with nobody left to release it.
    queue_.removeIf([](const QueuedCommand& c) { return c.ptt && !c.release; });
    if (keyedByCat_ && !queue_.hasPtt())
        setPttByCommand(false);
    if (!queue_.hasPtt())
        return;
    // Sent and drained now, ahead of anything else: the port closes or the process ends next.
    // What the line still carries goes first, or the release would not be taken.
    port_.drain(port_.transferMs(0));
    const int row = queue_.nextToSend();
    const qsizetype size = queue_.at(row).bytes.size();
    if (sendRow(row))
        port_.drain(port_.transferMs(size));
}

void Rig::afterOpen()
{
    catOnDue_ = true;
    holdingOff_ = false;
}

QString Rig::portName() const
{
    return QStringLiteral("%1 (%2)").arg(port_.commPort()).arg(port_.deviceName());
}

void Rig::lose(const VbError& e)
{
    const QString name = portName();
    port_.closeAfterLoss();
    lost_ = true;
    holdingOff_ = false;
    stateTag_.clear();
    buffer_.clear();
    frequencyUnknown();
    debugMessage(QStringLiteral("Radio port %1 went away (%2): the port is closed. Reconnect the radio's "
                                "cable or adapter; the port is tried again every 2 seconds.")
                     .arg(name, e.text()));
    reopenTimer_.start(kReopenIntervalMs);
}

void Rig::retryLostPort()
{
    if (!lost_) {
        reopenTimer_.stop();
        return;
    }
    if (failed(port_.setPortOpen(true)))
        return; // still away: the next try follows
    lost_ = false;
    reopenTimer_.stop();
    afterOpen();
    debugMessage(QStringLiteral("Radio port %1 is back.").arg(portName()));
    // The radio may still be transmitting from before the port went away: release it first.
    if (keyedByCat_ && !queue_.hasPtt())
        setPttByCommand(false);
}
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
        debugMessage(QStringLiteral("CI-V address \"%1\" is not a hexadecimal address from 00 to 7F: "
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

bool Rig::setRadioFrequency(const QString& freqKHz)
{
    if (code_ == Kachina505) {
        writeRadioDataFrequency(freqKHz);
        return true;
    }
    const CatBuild build = setFrequencyCommand(code_, freqKHz, civAddress_);
    if (!build.refusal.isEmpty()) {
        // The host hears nothing from the component but results, which it need not look at:
        // the operator is told here, whoever asked.
        debugMessage(build.refusal);
        box_(build.refusal, dlg::OKOnly | dlg::Exclamation, QStringLiteral("Frequency not set"));
        return false;
    }
    for (const CatCommand& c : build.commands)
        queueCommand({c.bytes, c.hex, QString(), false});
    return true;
}

void Rig::setPttByCommand(bool on)
{
    const CatBuild build = pttCommand(code_, on, civAddress_);
    if (!build.refusal.isEmpty())
        debugMessage(build.refusal);
    if (!on && !build.commands.isEmpty()) {
        // A keying still waiting would go out after the release and leave the transmitter on.
        queue_.removeIf([](const QueuedCommand& c) { return c.ptt && !c.release; });
    }
    for (const CatCommand& c : build.commands)
        queueCommand({c.bytes, c.hex, QString(), true, !on});
}

void Rig::setDirectRadioCommand(const QString& text, bool hex)
{
    queueCommand({cp1252::encode(vb::Trim(text)), hex, QString(), false});
}

void Rig::inputTestString(const QString& text)
{
    processRadioInput(cp1252::encode(text));
}

ReplyContext Rig::replyContext() const
{
    ReplyContext context;
    if (isCiv(code_)) {
        context.civAddress = civAddress(civAddress_);
        if (!stateTag_.isEmpty() && inFlight_.size() > 4)
            context.civAwaited = static_cast<unsigned char>(inFlight_[4]);
    }
    return context;
}

void Rig::processRadioInput(const QByteArray& bytes)
{
    buffer_ += bytes;
    if (!hasReplyParser(code_)) {
        if (buffer_.size() > kUnparsedBufferLimit)
            buffer_ = buffer_.right(kUnparsedBufferLimit);
        return;
    }
    const ParseResult r = parseReply(code_, buffer_, replyContext());
    if (r.kind == ParseResult::Wait)
        return;
    const qsizetype used = r.consumed < 0 ? buffer_.size() : std::min(r.consumed, buffer_.size());
    if (r.showLine && used > 0)
        debugLine(buffer_.left(used), r.showHex, DebugWindow::RX);
    if (r.kind == ParseResult::Taken || r.kind == ParseResult::Report) {
        if (r.freqKHz)
            freq_ = r.freqText;
        if (!r.mode.isEmpty())
            mode_ = r.mode;
        if (window_) {
            if (r.freqKHz)
                window_->setFrequencyLabel(vb::Str(*r.freqKHz));
            window_->setModeLabel(mode_);
        }
        if (r.kind == ParseResult::Taken) {
            // The radio answered: a slow answer is no stall.
            clearRadioState();
            stallCounter_ = 0;
        }
    }
    buffer_.remove(0, used);
}

void Rig::timerTick()
{
    if (!port_.isOpen()) {
        if (code_ == Kachina505)
            readRadioDataFile();
        return;
    }
    VbError e = port_.checkLine();
    if (!failed(e))
        e = port_.flushOutput();
    int waiting = 0;
    if (!failed(e))
        e = port_.inBufferCount(waiting);
    if (!failed(e) && waiting > 0) {
        QByteArray data;
        e = port_.input(data);
        processRadioInput(data); // what was read before a failure still counts
    }
    if (failed(e)) {
        lose(e);
        return;
    }
    if (!port_.clearToSend()) {
        holdOff();
        return;
    }

    if (queue_.hasPtt()) {
        // PTT never waits for a poll: the reply that was awaited is no longer expected.
        stateTag_.clear();
        sendRow(queue_.nextToSend());
    } else if (!stateTag_.isEmpty()) {
        doStateMachineReset();
    } else if (queue_.isEmpty()) {
        queueStatusPoll(kPollTag);
    } else {
        popRadioMessage();
    }
}

void Rig::holdOff()
{
    if (!holdingOff_) {
        holdingOff_ = true;
        debugMessage(QStringLiteral("The radio holds off (flow control): commands wait until it takes data "
                                    "again; polls meanwhile are dropped."));
    }
    // A poll would be stale by the time the radio takes it; a new one follows when it does.
    queue_.removeIf([](const QueuedCommand& c) { return !c.tag.isEmpty(); });
    if (!stateTag_.isEmpty())
        doStateMachineReset();
}

void Rig::frequencyUnknown()
{
    freq_ = QStringLiteral("0");
    if (window_)
        window_->setFrequencyLabel(vb::Str(0));
}

void Rig::doStateMachineReset()
{
    if (++stallCounter_ != kStallLimit)
        return;
    stallCounter_ = 0;
    stateTag_.clear();
    buffer_.clear();
    frequencyUnknown();
    catOnDue_ = true;
    debugMessage(QStringLiteral("Timer Fired : Forced StateMachine reset (I got tired of waiting)."));
}

void Rig::popRadioMessage()
{
    if (queue_.isEmpty())
        return;
    if (!port_.isOpen()) {
        // The command stays at the head and goes out once the port is open.
        debugMessage(comm::error(comm::kPortNotOpen).text());
        return;
    }
    sendRow(0);
}

bool Rig::sendRow(int i)
{
    const QueuedCommand& row = queue_.at(i);
    const QByteArray catOn = ft847CatOn();
    const bool catOnFirst = code_ == YaesuFT847 && catOnDue_ && !row.bytes.startsWith(catOn);
    qsizetype accepted = 0;
    const VbError e = port_.send(catOnFirst ? catOn + row.bytes : row.bytes, accepted);
    if (failed(e)) {
        lose(e);
        return false;
    }
    if (accepted == 0) {
        holdOff();
        return false;
    }
    holdingOff_ = false;
    if (code_ == YaesuFT847)
        catOnDue_ = false;
    if (catOnFirst)
        debugLine(catOn, true, DebugWindow::TX);
    debugLine(row.bytes, row.hex, DebugWindow::TX);
    stateTag_ = vb::Trim(row.tag);
    if (!stateTag_.isEmpty())
        inFlight_ = row.bytes;
    if (row.ptt) {
        keyedByCat_ = !row.release;
        port_.keepReleaseCommand(keyedByCat_ ? releaseCommand() : QByteArray());
    }
    queue_.takeAt(i);
    return true;
}

QByteArray Rig::releaseCommand() const
{
    QByteArray bytes;
    for (const CatCommand& c : pttCommand(code_, false, civAddress_).commands)
        bytes += c.bytes;
    return bytes;
}

void Rig::nowOutputToRadio(const QByteArray& bytes, bool hex)
{
    if (!port_.isOpen()) {
        debugMessage(comm::error(comm::kPortNotOpen).text());
        return;
    }
    // What the line does not take now is kept and goes out first when it can.
    const VbError e = port_.output(bytes);
    if (e.number == comm::kDeviceBusy) {
        debugMessage(QStringLiteral("The radio holds off: command not sent: ") + e.text());
        return;
    }
    if (failed(e)) {
        lose(e);
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
