#include "platform/handles/handle_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(HandleTable, LooksUpByTypeAndForgetsClosedValues) {
    kit::HandleTable table;
    auto text = std::make_shared<std::string>("event");
    const auto value = table.insert(text);
    EXPECT_NE(value, kit::kInvalidHandleValue);
    EXPECT_EQ(table.lookup<std::string>(value), text);
    EXPECT_EQ(table.lookup<int>(value), nullptr) << "a value of another type must not resolve";
    EXPECT_EQ(table.lookup<std::string>(value + 4), nullptr);
    EXPECT_EQ(table.lookup<std::string>(kit::kInvalidHandleValue), nullptr);
    EXPECT_TRUE(table.close(value));
    EXPECT_FALSE(table.close(value));
    EXPECT_EQ(table.lookup<std::string>(value), nullptr);
    EXPECT_EQ(*text, "event") << "closing the value leaves other references alive";
}

TEST(HandleTable, ConcurrentInsertsGiveDistinctValues) {
    kit::HandleTable table;
    std::vector<std::vector<kit::HandleValue>> values(4);
    std::vector<std::thread> threads;
    for (auto& mine : values)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) mine.push_back(table.insert(std::make_shared<int>(i)));
        });
    for (auto& thread : threads) thread.join();
    std::set<kit::HandleValue> all;
    for (auto& mine : values) all.insert(mine.begin(), mine.end());
    EXPECT_EQ(all.size(), 800u);
}

TEST(ScopedHandle, ClosesItsEntryOnce) {
    auto& table = kit::HandleTable::process();
    const auto before = table.size();
    {
        kit::ScopedHandle handle(table.insert(std::make_shared<int>(7)));
        kit::ScopedHandle moved = std::move(handle);
        EXPECT_EQ(handle.value(), kit::kInvalidHandleValue);
        EXPECT_EQ(*table.lookup<int>(moved.value()), 7);
    }
    EXPECT_EQ(table.size(), before);
}

}  // namespace
