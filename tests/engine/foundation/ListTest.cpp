#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "DebugMessage.h"
#include "DllInterface.h"
#include "EngineFixture.h"
#include "Vlt_List.h"
#include "support/MessageRecorder.h"

namespace {

// Exposes the capacity, which the growth rule is about.
class ProbeList : public Vlt_List {
 public:
  int Capacity() const { return capacity_; }
};

void* P(intptr_t v) { return reinterpret_cast<void*>(v); }

std::vector<void*> Items(const Vlt_List& list) {
  std::vector<void*> out;
  for (int i = 0; i < list.GetItemCount(); ++i) out.push_back(list.GetItem(i));
  return out;
}

void Fill(Vlt_List& list, std::initializer_list<intptr_t> values) {
  for (intptr_t v : values) list.AddItem(v == 0 ? nullptr : P(v));
}

TEST(VltList, NewListIsEmptyAndReadsNullEverywhere) {
  ProbeList list;
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_EQ(list.GetItem(0), nullptr);
  EXPECT_EQ(list.GetItem(-1), nullptr);
}

TEST(VltList, AppendsGrowAt32Then72Then122) {
  ProbeList list;
  // Capacity right after the append that needed it.
  const struct {
    int appends;
    int capacity;
  } steps[] = {{1, 32}, {32, 32}, {33, 72}, {72, 72}, {73, 122}, {123, 184}};
  int done = 0;
  for (const auto& step : steps) {
    for (; done < step.appends; ++done) ASSERT_EQ(list.AddItem(P(done + 1)), done);
    EXPECT_EQ(list.Capacity(), step.capacity) << "after " << step.appends << " appends";
  }
  // Growth kept every entry in place.
  for (int i = 0; i < done; ++i) ASSERT_EQ(list.GetItem(i), P(i + 1));
}

TEST(VltList, AddItemOrNullReusesTheFirstFreeSlot) {
  Vlt_List list;
  Fill(list, {1, 0, 3, 0});
  EXPECT_EQ(list.AddItemOrNULL(P(9)), 1);
  EXPECT_EQ(list.GetItemCount(), 4);
  EXPECT_EQ(list.AddItemOrNULL(P(8)), 3);
  EXPECT_EQ(list.AddItemOrNULL(P(7)), 4);  // no free slot left: appends
  EXPECT_EQ(Items(list), (std::vector<void*>{P(1), P(9), P(3), P(8), P(7)}));
}

TEST(VltList, InsertItemPositions) {
  const struct {
    int index;
    bool result;
    std::vector<void*> expected;
  } cases[] = {
      {0, true, {P(9), P(1), P(2)}}, {1, true, {P(1), P(9), P(2)}}, {2, true, {P(1), P(2), P(9)}},
      {5, true, {P(1), P(2), P(9)}}, {-1, false, {P(1), P(2)}},
  };
  for (const auto& c : cases) {
    ProbeList list;
    Fill(list, {1, 2});
    EXPECT_EQ(list.InsertItem(P(9), c.index), c.result) << "index " << c.index;
    EXPECT_EQ(Items(list), c.expected) << "index " << c.index;
    EXPECT_GT(list.Capacity(), list.GetItemCount());
  }
}

TEST(VltList, InsertItemKeepsASpareEntryWhenFull) {
  ProbeList list;
  for (int i = 0; i < 31; ++i) list.AddItem(P(i + 1));
  ASSERT_EQ(list.Capacity(), 32);
  // count+1 == capacity: insert grows first, with count+1 as the request.
  ASSERT_TRUE(list.InsertItem(P(99), 0));
  EXPECT_EQ(list.Capacity(), 72);  // truncate(32 * 1.25 + 32)
  EXPECT_EQ(list.GetItemCount(), 32);
  EXPECT_EQ(list.GetItem(0), P(99));
  EXPECT_EQ(list.GetItem(31), P(31));
}

TEST(VltList, InsertIntoEmptyListGrowsFromRequestOne) {
  ProbeList list;
  ASSERT_TRUE(list.InsertItem(P(5), 0));
  EXPECT_EQ(list.Capacity(), 33);  // truncate(1 * 1.25 + 32)
  EXPECT_EQ(Items(list), std::vector<void*>{P(5)});
}

TEST(VltList, SetItemExtendsWithNullEntries) {
  Vlt_List list;
  list.SetItem(P(7), 4);
  EXPECT_EQ(Items(list), (std::vector<void*>{nullptr, nullptr, nullptr, nullptr, P(7)}));
  list.SetItem(P(8), 1);
  EXPECT_EQ(list.GetItem(1), P(8));
  EXPECT_EQ(list.GetItemCount(), 5);
  list.SetItem(P(9), -1);
  EXPECT_EQ(list.GetItemCount(), 5);
}

TEST(VltList, AllocateSetsTheCountExactly) {
  ProbeList list;
  Fill(list, {1, 2, 3, 4, 5});
  EXPECT_TRUE(list.Allocate(2));
  EXPECT_EQ(Items(list), (std::vector<void*>{P(1), P(2)}));
  EXPECT_TRUE(list.Allocate(4));
  // Entries beyond the old count come back as null, not as what was cut off before.
  EXPECT_EQ(Items(list), (std::vector<void*>{P(1), P(2), nullptr, nullptr}));
  EXPECT_TRUE(list.Allocate(0));
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.Capacity(), 32);
  // n >= capacity-1 grows with n as the request.
  EXPECT_TRUE(list.Allocate(31));
  EXPECT_EQ(list.Capacity(), 70);  // truncate(31 * 1.25 + 32)
  EXPECT_EQ(list.GetItemCount(), 31);
}

TEST(VltList, AllocateRefusesANegativeCount) {
  Vlt_List list;
  Fill(list, {1, 2});
  EXPECT_FALSE(list.Allocate(-3));
  EXPECT_EQ(list.GetItemCount(), 2);
}

TEST(VltList, GrowthBeyond32BitsFailsWithoutCrashing) {
  ProbeList list;
  Fill(list, {1, 2});
  EXPECT_FALSE(list.Allocate(INT_MAX - 10));
  // A failed growth leaves no storage behind, and the list stays safe to use.
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_EQ(list.GetItem(0), nullptr);
  list.SetItem(P(1), INT_MAX - 1);
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.AddItem(P(4)), 0);
  EXPECT_EQ(list.GetItem(0), P(4));
}

TEST(VltList, RemoveItemShiftsDownAndIgnoresBadIndices) {
  Vlt_List list;
  Fill(list, {1, 2, 3});
  for (int bad : {7, 3, -1}) list.RemoveItem(bad);
  EXPECT_EQ(Items(list), (std::vector<void*>{P(1), P(2), P(3)}));
  list.RemoveItem(0);
  EXPECT_EQ(Items(list), (std::vector<void*>{P(2), P(3)}));
  list.RemoveItem(1);
  EXPECT_EQ(Items(list), std::vector<void*>{P(2)});
}

TEST(VltList, ClearKeepsStorageReleaseFreesIt) {
  ProbeList list;
  Fill(list, {1, 2, 3});
  list.ClearItems();
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.Capacity(), 32);
  EXPECT_EQ(list.GetItem(0), nullptr);
  list.ReleaseItems();
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_EQ(list.AddItem(P(1)), 0);
}

class ListReports : public EngineFixture {};

TEST_F(ListReports, FailedGrowthIsReportedThroughTheEngineOnly) {
  MessageRecorder sink;
  Vlt_List list;
  ASSERT_EQ(globalEngine, nullptr);
  EXPECT_FALSE(list.Allocate(INT_MAX - 10));
  EXPECT_TRUE(sink.messages.empty()) << "silent without an engine";

  globalEngine = engine_.get();
  EXPECT_FALSE(list.Allocate(INT_MAX - 10));
  globalEngine = nullptr;
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].type, VLT_MSG_MESSAGEBOX);
  // truncate((2^31 - 11) * 1.25 + 32)
  EXPECT_EQ(sink.messages[0].text, "Error couldn't extend list 2684354578");
}

}  // namespace
