// The adapter's command parser as the host follows it.
//
// The adapter's commands carry no framing: a command's first byte fixes its
// length, and the adapter takes whatever bytes come next as the rest of a
// half-received command. The link feeds this model every byte the adapter
// took, so that after a write that was cut off it knows which command is
// half received and how many bytes it still lacks.
#pragma once

#include <cstddef>
#include <cstdint>

// The bytes of the command `first` begins, `first` included: 1 for every byte
// that does not begin a command with operands.
size_t AdapterCommandLength(uint8_t first);

class AdapterParser {
public:
    bool IsIdle() const { return m_received == 0; }
    // The bytes the half-received command still lacks; 0 when idle.
    size_t Missing() const { return m_received == 0 ? 0 : m_length - m_received; }
    void Take(const uint8_t* bytes, size_t count);
    void Reset() { m_received = 0; }

private:
    size_t m_length = 0;   // of the half-received command
    size_t m_received = 0; // its bytes taken so far
};
