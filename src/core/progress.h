#pragma once

#include <string>

namespace tomlet {

// Where long operations (reading, writing, scanning) report how far they are. Every operation
// returns true on success; callers ignore the result. Callers pair Begin with End on every way
// out, and End must be accepted without a Begin.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    virtual bool Begin() = 0;
    virtual bool SetMaximum(int maximum) = 0;
    virtual bool Step() = 0;             // position + 1
    virtual bool IncreaseMaximum() = 0;  // maximum + 1
    // A format with one integer placeholder %d, filled with the running count when shown.
    virtual bool SetText(const std::string& format) = 0;
    virtual bool End() = 0;
};

// Begins a sink's progress now and ends it on every way out.
class ProgressScope final {
public:
    explicit ProgressScope(ProgressSink& progress) : m_progress(progress) { m_progress.Begin(); }
    ~ProgressScope() { m_progress.End(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    ProgressSink& m_progress;
};

// Lets pending window messages through between the items of a long operation, so that the
// window repaints. Implementations decide how often they really do so.
class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void LetMessagesThrough() = 0;
};

// For callers that show nothing: command-line tools and tests.
class SilentProgress final : public ProgressSink, public MessagePump {
public:
    bool Begin() override { return true; }
    bool SetMaximum(int) override { return true; }
    bool Step() override { return true; }
    bool IncreaseMaximum() override { return true; }
    bool SetText(const std::string&) override { return true; }
    bool End() override { return true; }
    void LetMessagesThrough() override {}
};

}  // namespace tomlet
