#include "ui/progress/progress_sink.h"

#include <QPointer>
#include <limits>
#include <memory>
#include <stdexcept>

#include "ui/progress/gauge.h"
#include "ui/progress/progress_window.h"
#include "ui/progress/splash_window.h"

namespace tomlet {

namespace {

class WindowProgressSink final : public ProgressSink {
public:
    void SetSplash(Tfrm_Splash* splash) { m_splash = splash; }

    bool Begin() override {
        return Guarded([this] {
            m_window.reset();
            m_splashInUse = !m_splash.isNull();
            if (m_splashInUse)
                return;
            m_window = std::make_unique<Tfrm_Progress>();
            m_window->CentreOverMainWindow();
            m_window->show();
        });
    }

    bool SetMaximum(int maximum) override {
        return Guarded([&] { GaugeInUse().SetMaximum(maximum); });
    }

    bool Step() override {
        return Guarded([this] {
            Gauge& gauge = GaugeInUse();
            gauge.SetValue(gauge.Value() + 1);
            SetCount(gauge.Value());
        });
    }

    bool IncreaseMaximum() override {
        return Guarded([this] {
            Gauge& gauge = GaugeInUse();
            if (gauge.Maximum() == std::numeric_limits<int>::max())
                throw std::overflow_error("The progress maximum is at its limit");
            gauge.SetMaximum(gauge.Maximum() + 1);
            SetCount(gauge.Maximum());
        });
    }

    bool SetText(const std::string& format) override {
        return Guarded([&] {
            if (m_splashInUse) {
                RequireSplash();
                return;
            }
            RequireWindow().SetStatusFormat(format);
        });
    }

    bool End() override {
        const bool hadWindow = m_window != nullptr;
        m_window.reset();
        return hadWindow || (m_splashInUse && !m_splash.isNull());
    }

private:
    template <class Operation>
    static bool Guarded(Operation&& operation) {
        try {
            operation();
            return true;
        } catch (...) {
            return false;
        }
    }

    Tfrm_Splash& RequireSplash() const {
        if (m_splash.isNull())
            throw std::logic_error("The splash window is gone");
        return *m_splash;
    }

    Tfrm_Progress& RequireWindow() const {
        if (m_window == nullptr)
            throw std::logic_error("No progress window is shown");
        return *m_window;
    }

    Gauge& GaugeInUse() const {
        return m_splashInUse ? *RequireSplash().gauge() : *RequireWindow().gauge();
    }

    // The splash shows no count, so only the progress window keeps one.
    void SetCount(long long count) const {
        if (!m_splashInUse)
            RequireWindow().SetCount(count);
    }

    QPointer<Tfrm_Splash> m_splash;
    bool m_splashInUse = false;
    std::unique_ptr<Tfrm_Progress> m_window;
};

WindowProgressSink& Sink() {
    // Never destroyed: a window must not outlive the application object in a static destructor.
    static auto* const sink = new WindowProgressSink;
    return *sink;
}

}  // namespace

ProgressSink& ProgramProgress() {
    return Sink();
}

void SetSplashWindow(Tfrm_Splash* splash) {
    Sink().SetSplash(splash);
}

}  // namespace tomlet
