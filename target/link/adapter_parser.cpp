#include "adapter_parser.h"

#include "target_protocol.h"

size_t AdapterCommandLength(uint8_t first) {
    switch (first) {
    case adapter::kWrite4:
        return 5;
    case adapter::kSetBreakpoint:
    case adapter::kSetAddress:
        return 4;
    case adapter::kSetPc:
    case adapter::kWrite2:
        return 3;
    case adapter::kClearBreakpoint:
    case adapter::kSelectSpace:
    case adapter::kReadBlock:
    case adapter::kWrite1:
        return 2;
    default:
        return 1;
    }
}

void AdapterParser::Take(const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (m_received == 0) m_length = AdapterCommandLength(bytes[i]);
        if (++m_received == m_length) m_received = 0;
    }
}
