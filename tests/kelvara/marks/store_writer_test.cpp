// SPDX-License-Identifier: GPL-3.0-or-later
// The writer behind the stores: order, coalescing, the wait at the end and its reports.
#include "app_state_fixture.h"

#include "marks/store_writer.h"

#include <QThread>

#include <future>
#include <stdexcept>

namespace kelvara::testing {
namespace {

using StoreWriting = AppStateFixture;

TEST_F(StoreWriting, WritesQueuedDuringOneAreCoalescedToTheLatest) {
    std::vector<int> written;  // by the worker only, read after the writer is gone
    std::promise<void> started;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto writer = std::make_unique<StoreWriter>([](const std::optional<QString>&) {});
    writer->enqueue([&, released] {
        started.set_value();
        released.wait();
        written.push_back(0);
    });
    started.get_future().wait();  // the first write is under way
    for (int n = 1; n <= 50; ++n) {
        writer->enqueue([&written, n] { written.push_back(n); });
    }
    release.set_value();
    writer.reset();  // waits for what is under way and what waits
    EXPECT_EQ(written, (std::vector<int>{0, 50}));
}

TEST_F(StoreWriting, EachWriteIsReportedOnTheOwnersThreadAndNoneAfterTheWriterIsGone) {
    std::vector<std::optional<QString>> reports;
    bool onOwnersThread = true;
    auto writer = std::make_unique<StoreWriter>([&](const std::optional<QString>& failure) {
        onOwnersThread = onOwnersThread && QThread::currentThread() == qApp->thread();
        reports.push_back(failure);
    });
    writer->enqueue([] { throw std::runtime_error("disk full"); });
    ASSERT_TRUE(waitUntil([&] { return reports.size() == 1; }));
    writer->enqueue([] {});
    ASSERT_TRUE(waitUntil([&] { return reports.size() == 2; }));
    EXPECT_EQ(reports, (std::vector<std::optional<QString>>{QStringLiteral("disk full"), std::nullopt}));
    EXPECT_TRUE(onOwnersThread);

    writer->enqueue([] {});
    writer.reset();
    waitUntil([] { return false; }, 0.05);
    EXPECT_EQ(reports.size(), 2u);
}

}  // namespace
}  // namespace kelvara::testing
