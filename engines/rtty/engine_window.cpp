#include "engines/rtty/engine_window.h"

#include <QApplication>
#include <QMetaObject>
#include <cstring>

#include "engines/sound/audio.h"
#include "engines/rtty/engine_view.h"
#include "engines/rtty/setup_window.h"

namespace rtty {

QString EngineTitle(const unsigned char* block)
{
    if (!block)
        return QStringLiteral("MMTTY Engine");
    const auto* p = reinterpret_cast<const char*>(block + 4);
    const void* nul = std::memchr(p, 0, 64);
    const int n = nul ? static_cast<int>(static_cast<const char*>(nul) - p) : 64;
    return QString::fromLatin1(p, n).trimmed();
}

EngineWindow::EngineWindow(unsigned char* block, const QString& profiles, QObject* parent)
    : QObject(parent), block_(block), message_(win::RegisterWindowMessage(QStringLiteral("MMTTY")))
{
    engine_ = std::make_unique<RttyEngine>(block, profiles, [this](int code, std::int32_t value) {
        win::PostMessage(program_.load(), message_, 0x8000 + code, value);
    });
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        view_ = std::make_unique<EngineView>(EngineTitle(block));
        setup_ = std::make_unique<SetupWindow>(EngineTitle(block));
        connect(view_.get(), &EngineView::setupRequested, this, &EngineWindow::showSetup);
        connect(setup_.get(), &SetupWindow::applied, this, &EngineWindow::applySetup);
    }
    // The engine may speak from its sound thread: the words are shown on this one.
    engine_->setTell([this](const QString& text) {
        QMetaObject::invokeMethod(this, [this, text] { addMessage(text); }, Qt::QueuedConnection);
    });
}

EngineWindow::~EngineWindow()
{
    engine_->setTell({});
    engine_->stop();
    hook_.remove();
}

void EngineWindow::addMessage(const QString& text)
{
    messages_.append(text);
    if (view_)
        view_->addMessage(text);
}

int EngineWindow::startSound()
{
    soundStarted_ = true;
    const int device = engine_->setup().soundDevice;
    return engine_->start([device] { return sound::makeAudioDevice(device); });
}

void EngineWindow::showSetup()
{
    if (setup_)
        setup_->show(engine_->setup(), engine_->currentProfile());
}

void EngineWindow::applySetup(const EngineSetup& s)
{
    const int device = engine_->setup().soundDevice;
    engine_->applySetup(s);
    // Another device, or the sound that failed to start: OK starts it (again).
    if (soundStarted_ && (engine_->setup().soundDevice != device || !engine_->soundRunning()))
        startSound();
}

win::WinHandle EngineWindow::open()
{
    handle_ = win::registerWindow(this, EngineTitle(block_));
    if (handle_ != 0)
        hook_.install(this, [this](std::uint32_t msg, std::intptr_t w, std::intptr_t l) { return onMessage(msg, w, l); });
    return handle_;
}

std::optional<std::intptr_t> EngineWindow::onMessage(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam)
{
    if (msg != message_)
        return std::nullopt;
    const auto value = static_cast<std::int32_t>(lParam);
    switch (wParam) {
    case 0: // hello: where the notifications go
        program_ = value;
        win::PostMessage(program_.load(), message_, 0x8000 + kNoteHandle, handle_);
        emit greeted();
        break;
    case 1:
        engine_->reportState();
        break;
    case 2:
        engine_->stop();
        emit quitRequested();
        break;
    case 13: // the toolbar's "Setup"
        showSetup();
        break;
    case 24: { // a profile may name another sound device
        const int device = engine_->setup().soundDevice;
        engine_->command(24, value);
        if (soundStarted_ && engine_->setup().soundDevice != device)
            startSound();
        break;
    }
    default:
        if (wParam > 0 && wParam < 64)
            engine_->command(static_cast<int>(wParam), value);
        break;
    }
    return 0;
}

} // namespace rtty
