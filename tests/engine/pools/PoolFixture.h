// A real engine with one registered group, and helpers for pool members and names.
#pragma once

#include <string>
#include <vector>

#include "ChannelPoolManagement.h"
#include "graph/GraphFixture.h"

namespace pooltest {

using graphtest::TestChannel;

class PoolTest : public graphtest::GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    group_ = engine_->CreateNewGroup("Pools", false, 0);
    ASSERT_NE(group_, nullptr);
    ASSERT_NE(group_->GetGroupIndex(), -1);
    pools_ = engine_->GetExt()->GetChannelPoolManagement();
    ASSERT_NE(pools_, nullptr);
  }

  // A channel of the registered group; the group deletes it.
  TestChannel* Member(const char* name, GUID type = graphtest::kTypeX,
                      GUID base = graphtest::kTypeY) {
    auto* c = new TestChannel({}, type, base, name);
    group_->AddChannel(c);
    return c;
  }

  // Names of the members of the pool at path, in pool order; {"<none>"} without the pool.
  std::vector<std::string> MembersOf(const char* path) {
    PoolItem* item = pools_->GetPoolItem(path);
    if (item == nullptr) return {"<none>"};
    std::vector<std::string> out;
    for (int i = 0; i < item->channels.GetItemCount(); ++i)
      out.push_back(static_cast<Vlt_Channel*>(item->channels.GetItem(i))->GetChannelName());
    return out;
  }

  // Names of the top-level pools.
  std::vector<std::string> TopLevel() {
    std::vector<std::string> out;
    for (int i = 0; i < pools_->GetMainGroupPoolItemCount(); ++i)
      out.push_back(pools_->GetMainGroupPoolItem(i)->name);
    return out;
  }

  Vlt_ChannelGroup* group_ = nullptr;
  ChannelPoolManagement* pools_ = nullptr;
};

}  // namespace pooltest
