#include "engines/rtty/engine_view.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rtty {

EngineView::EngineView(const QString& title, QWidget* parent) : QWidget(parent)
{
    setWindowTitle(title);
    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    log_->setPlaceholderText(QStringLiteral("Receiving and sending RTTY for Sondrel."));
    auto* setup = new QPushButton(QStringLiteral("Setup"), this);
    connect(setup, &QPushButton::clicked, this, &EngineView::setupRequested);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(log_);
    layout->addWidget(setup);
    resize(420, 200);
}

void EngineView::addMessage(const QString& text)
{
    log_->appendPlainText(text);
}

QString EngineView::messages() const
{
    return log_->toPlainText();
}

} // namespace rtty
