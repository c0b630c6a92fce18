#include "ui/progress/progress_sink.h"

#include <QPushButton>
#include <limits>
#include <stdexcept>

#include "ui/base/error_policy.h"
#include "ui/progress/gauge.h"
#include "ui/progress/progress_window.h"
#include "ui/progress/splash_window.h"

namespace tomlet {

WindowProgressSink::WindowProgressSink() = default;

WindowProgressSink::~WindowProgressSink() = default;

void WindowProgressSink::SetSplash(Tfrm_Splash* splash) {
    m_splash = splash;
}

bool WindowProgressSink::Begin() {
    return RunIgnoringErrors([this] {
        m_window.reset();
        m_cancelRequested = false;
        m_splashInUse = !m_splash.isNull();
        if (m_splashInUse)
            return;
        m_window = std::make_unique<Tfrm_Progress>();
        if (m_cancellable) {
            m_window->ShowCancelButton();
            QObject::connect(m_window->cancelButton(), &QPushButton::clicked, m_window.get(),
                             [this] { m_cancelRequested = true; });
        }
        m_window->CentreOverMainWindow();
        m_window->show();
    });
}

bool WindowProgressSink::SetMaximum(int maximum) {
    return RunIgnoringErrors([&] { GaugeInUse().SetMaximum(maximum); });
}

bool WindowProgressSink::Step() {
    return RunIgnoringErrors([this] {
        Gauge& gauge = GaugeInUse();
        gauge.SetValue(gauge.Value() + 1);
        SetCount(gauge.Value());
    });
}

bool WindowProgressSink::IncreaseMaximum() {
    return RunIgnoringErrors([this] {
        Gauge& gauge = GaugeInUse();
        if (gauge.Maximum() == std::numeric_limits<int>::max())
            throw std::overflow_error("The progress maximum is at its limit");
        gauge.SetMaximum(gauge.Maximum() + 1);
        SetCount(gauge.Maximum());
    });
}

bool WindowProgressSink::SetText(const std::string& format) {
    return RunIgnoringErrors([&] {
        if (m_splashInUse) {
            RequireSplash();
            return;
        }
        RequireWindow().SetStatusFormat(format);
    });
}

bool WindowProgressSink::End() {
    const bool hadWindow = m_window != nullptr;
    m_window.reset();
    return hadWindow || (m_splashInUse && !m_splash.isNull());
}

Tfrm_Splash& WindowProgressSink::RequireSplash() const {
    if (m_splash.isNull())
        throw std::logic_error("The splash window is gone");
    return *m_splash;
}

Tfrm_Progress& WindowProgressSink::RequireWindow() const {
    if (m_window == nullptr)
        throw std::logic_error("No progress window is shown");
    return *m_window;
}

Gauge& WindowProgressSink::GaugeInUse() const {
    return m_splashInUse ? *RequireSplash().gauge() : *RequireWindow().gauge();
}

// The splash shows no count, so only the progress window keeps one.
void WindowProgressSink::SetCount(long long count) const {
    if (!m_splashInUse)
        RequireWindow().SetCount(count);
}

}  // namespace tomlet
