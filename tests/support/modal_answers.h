#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace tomlet::testing {

// Answers the modal windows a call opens, in order: each handler gets the window that is modal
// when its turn comes. The helper must outlive the call that opens the windows.
class ModalAnswers final : public QObject {
public:
    explicit ModalAnswers(std::vector<std::function<void(QWidget&)>> handlers)
        : m_handlers(std::move(handlers)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { AnswerNext(); });
        m_timer.start();
    }

    bool AllAnswered() const { return m_next == m_handlers.size(); }

private:
    void AnswerNext() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_last || AllAnswered())
            return;
        m_last = modal;
        m_handlers[m_next++](*modal);
    }

    std::vector<std::function<void(QWidget&)>> m_handlers;
    size_t m_next = 0;
    QWidget* m_last = nullptr;
    QTimer m_timer;
};

}  // namespace tomlet::testing
