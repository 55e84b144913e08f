// CLocalMutex: a recursive lock that knows its owner, so that destroying
// it from a thread that does not hold it releases nothing.
#include "ZorbUtils.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace ZorbUtils {

struct CLocalMutex::Impl {
    std::recursive_mutex mutex;
    std::atomic<std::thread::id> owner{};
    unsigned depth = 0;  // changed only by the owner
};

CLocalMutex::CLocalMutex() : m_impl(new Impl) {}

CLocalMutex::~CLocalMutex() {
    // Destroying a held lock is undefined for the underlying mutex, so the
    // owner's every hold is released; another thread's hold is left alone.
    while (m_impl->owner.load() == std::this_thread::get_id() && m_impl->depth > 0) Unlock();
    delete m_impl;
}

void CLocalMutex::Lock() {
    m_impl->mutex.lock();
    m_impl->owner.store(std::this_thread::get_id());
    ++m_impl->depth;
}

bool CLocalMutex::TryLock() {
    if (!m_impl->mutex.try_lock()) return false;
    m_impl->owner.store(std::this_thread::get_id());
    ++m_impl->depth;
    return true;
}

void CLocalMutex::Unlock() {
    // Leaving a lock this thread does not hold is ignored.
    if (m_impl->owner.load() != std::this_thread::get_id() || m_impl->depth == 0) return;
    if (--m_impl->depth == 0) m_impl->owner.store(std::thread::id());
    m_impl->mutex.unlock();
}

} // namespace ZorbUtils
