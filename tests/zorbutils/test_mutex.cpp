#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ZorbUtils.h"

using ZorbUtils::CLocalMutex;

TEST(LocalMutex, TryLockHeldByAnotherThreadFailsAtOnce) {
    CLocalMutex m;
    m.Lock();
    m.Lock();  // recursive for its owner
    EXPECT_TRUE(m.TryLock());
    bool other = true;
    std::thread([&] { other = m.TryLock(); }).join();
    EXPECT_FALSE(other);
    m.Unlock();
    m.Unlock();
    m.Unlock();
    std::thread([&] {
        other = m.TryLock();
        if (other) m.Unlock();
    }).join();
    EXPECT_TRUE(other);
}

TEST(LocalMutex, GuardsACounter) {
    CLocalMutex m;
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                m.Lock();
                ++counter;
                m.Unlock();
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(counter, 80000);
}

TEST(LocalMutex, DestroyingFromAnotherThreadLeavesTheHolderAlone) {
    auto* m = new CLocalMutex;
    std::atomic<bool> held{false}, release{false};
    std::thread holder([&] {
        m->Lock();
        held = true;
        while (!release) std::this_thread::yield();
    });
    while (!held) std::this_thread::yield();
    // Unlock from a thread that does not hold it is ignored.
    m->Unlock();
    EXPECT_FALSE(m->TryLock());
    release = true;
    holder.join();
    // The holder has ended without unlocking; destroying it here must not
    // release a lock that this thread does not hold (nor crash).
    delete m;
}

TEST(LocalMutex, DestroyingWhileHeldByTheCaller) {
    auto* m = new CLocalMutex;
    m->Lock();
    m->Lock();
    delete m;  // releases the caller's holds, no undefined behaviour
}
