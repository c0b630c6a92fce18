#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/progress.h"

namespace tomlet::testing {

// Records every progress call and every pause for window messages, in order.
class RecordingProgress final : public ProgressSink, public MessagePump {
public:
    std::vector<std::string> Calls;
    int ThrowOnStep = -1;  // the Step call (counted from 0) that fails, as exhausted memory would

    bool Begin() override { return Record("Begin"); }
    bool SetMaximum(int maximum) override { return Record("Max=" + std::to_string(maximum)); }
    bool Step() override {
        if (m_steps++ == ThrowOnStep)
            throw std::runtime_error("out of memory");
        return Record("Step");
    }
    bool IncreaseMaximum() override { return Record("Max+1"); }
    bool SetText(const std::string& format) override { return Record("Text " + format); }
    bool End() override { return Record("End"); }
    void LetMessagesThrough() override { Record("Pump"); }

    int CountOf(const std::string& call) const {
        return static_cast<int>(std::count(Calls.begin(), Calls.end(), call));
    }
    // Every Begin was ended, and End was called at least once.
    bool Closed() const { return CountOf("End") >= 1 && CountOf("Begin") <= CountOf("End"); }
    // The calls joined with spaces, runs of the same call written as "Call*N".
    std::string Summary() const {
        std::string summary;
        for (size_t i = 0; i < Calls.size();) {
            size_t j = i;
            while (j < Calls.size() && Calls[j] == Calls[i])
                ++j;
            summary += (summary.empty() ? "" : " ") + Calls[i];
            if (j - i > 1)
                summary += "*" + std::to_string(j - i);
            i = j;
        }
        return summary;
    }

private:
    bool Record(std::string call) {
        Calls.push_back(std::move(call));
        return true;
    }
    int m_steps = 0;
};

}  // namespace tomlet::testing
