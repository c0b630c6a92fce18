#include "platform/console_output.h"

namespace tomlet {

namespace {

// How many bytes the sequence that `lead` starts has; 1 for anything that starts none.
std::size_t SequenceSize(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    return lead >= 0xC2 ? 2 : 1;
}

}  // namespace

std::string Utf8Pieces::Take(std::string_view piece) {
    m_pending += piece;
    // Only the last (at most three) bytes can be a sequence still waiting for its rest.
    std::size_t whole = m_pending.size();
    for (std::size_t back = 1; back <= 3 && back <= m_pending.size(); ++back) {
        const auto byte = static_cast<unsigned char>(m_pending[m_pending.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation byte: look further back for its lead
        if (SequenceSize(byte) > back)
            whole = m_pending.size() - back;
        break;
    }
    std::string taken = m_pending.substr(0, whole);
    m_pending.erase(0, whole);
    return taken;
}

}  // namespace tomlet
