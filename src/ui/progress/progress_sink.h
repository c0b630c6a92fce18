#pragma once

#include <QPointer>
#include <memory>

#include "core/progress.h"

namespace tomlet {

class Gauge;
class Tfrm_Progress;
class Tfrm_Splash;

// The program's progress sink: the splash's gauge while a splash is set, otherwise a fresh
// progress window per Begin/End. Every operation returns false instead of throwing.
//
// A Begin while a progress window from an earlier Begin still exists replaces that window with a
// fresh one, so every operation starts at 0 of 0 with an empty status line. Operations other than
// Begin fail with false while neither the splash nor a progress window is in use.
class WindowProgressSink final : public ProgressSink {
public:
    WindowProgressSink();
    ~WindowProgressSink() override;
    WindowProgressSink(const WindowProgressSink&) = delete;
    WindowProgressSink& operator=(const WindowProgressSink&) = delete;

    // The start-up sets its splash here and clears it (nullptr) before destroying it.
    void SetSplash(Tfrm_Splash* splash);
    // Whether the progress windows of the operations begun from now on have a Cancel button.
    void SetCancellable(bool cancellable) { m_cancellable = cancellable; }
    // Whether Cancel was pressed since the last Begin.
    bool CancelRequested() const { return m_cancelRequested; }

    bool Begin() override;
    bool SetMaximum(int maximum) override;
    bool Step() override;
    bool IncreaseMaximum() override;
    bool SetText(const std::string& format) override;
    bool End() override;

private:
    Tfrm_Splash& RequireSplash() const;
    Tfrm_Progress& RequireWindow() const;
    Gauge& GaugeInUse() const;
    void SetCount(long long count) const;

    QPointer<Tfrm_Splash> m_splash;
    bool m_splashInUse = false;
    bool m_cancellable = false;
    bool m_cancelRequested = false;
    std::unique_ptr<Tfrm_Progress> m_window;
};

}  // namespace tomlet
