#include "dongle_driver/wdm/pool.h"

namespace wdm {

bool Pool::admit() {
    ++m_count;
    if (m_failuresLeft.load() <= 0) return true;
    if (m_successesLeft.load() > 0) {
        --m_successesLeft;
        return true;
    }
    --m_failuresLeft;
    return false;
}

std::unique_ptr<std::uint8_t[]> Pool::allocate(std::size_t size) {
    if (!admit()) return nullptr;
    return std::make_unique<std::uint8_t[]>(size);  // value-initialised: zeroed
}

void Pool::failAfter(int successes, int failures) {
    m_successesLeft = successes;
    m_failuresLeft = failures;
}

}  // namespace wdm
