#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <new>
#include <set>
#include <vector>

#include "ChannelDependency.h"
#include "PublicCallInfo.h"
#include "VltGuid.h"
#include "Vlt_String.h"

namespace {

// Plug-ins keep their type record in static storage, which is zero before the constructor runs
// and fill in name and baseGuid themselves.
ChannelType staticType;

TEST(Records, ChannelTypeDefaults) {
  EXPECT_EQ(staticType.version[0], 1);
  EXPECT_EQ(staticType.version[1], VLT_ENGINE_VERSION);
  EXPECT_EQ(staticType.version[2], 1);
  EXPECT_EQ(staticType.reserved[0], 0);
  EXPECT_EQ(staticType.reserved[1], 0);
  EXPECT_TRUE(VltGuidIsNull(staticType.typeGuid));
  EXPECT_STREQ(staticType.name, "");
  EXPECT_TRUE(VltGuidIsNull(staticType.baseGuid));
}

TEST(Records, ChildCreationDefaultsToAVariableWildcardPosition) {
  ChildCreation cc;
  EXPECT_TRUE(VltGuidEqual(cc.acceptedType.typeGuid, VLT_WILDCARD_GUID));
  EXPECT_TRUE(VltGuidEqual(cc.acceptedType.baseGuid, VLT_WILDCARD_GUID));
  EXPECT_EQ(cc.acceptedType.name[0], 0);
  EXPECT_EQ(cc.requestLink, -1);
  EXPECT_EQ(cc.flag, 0);
  EXPECT_EQ(cc.createDefaultChild, 0);
  EXPECT_EQ(cc.linkName[0], 0);
  EXPECT_TRUE(VltGuidIsNull(cc.defaultChildType));
  EXPECT_EQ(cc.head, nullptr);
  EXPECT_EQ(cc.positionIndex, 1);
}

TEST(Records, ChildInfoDefaults) {
  ChildInfo info;
  EXPECT_EQ(info.channel, nullptr);
  EXPECT_EQ(info.linkPosition, -1);
  EXPECT_EQ(info.isHead, 0);
  EXPECT_EQ(info.isVariable, 0);
  EXPECT_EQ(info.count, 0);
  EXPECT_EQ(info.index, 0);
  EXPECT_EQ(info.poolSnapshot, 0);
  EXPECT_EQ(info.poolIndex, -1);
}

// Child list entries and link positions come from packed pools. Many records are made, some
// deleted, more made, and a record made with the global new (as a module built before the pools
// would) is deleted among them: every live record keeps its own place and its contents.
TEST(Records, PooledRecordsNeverShareAPlace) {
  constexpr int kRecords = 5000;  // several blocks of each pool
  std::vector<ChildInfo*> infos;
  std::vector<ChildCreation*> creations;
  auto make = [&](int n) {
    for (int i = 0; i < n; ++i) {
      infos.push_back(new ChildInfo());
      infos.back()->index = static_cast<int32_t>(infos.size());
      if (i % 4 == 0) {
        creations.push_back(new ChildCreation());
        creations.back()->positionIndex = static_cast<int32_t>(creations.size());
      }
    }
  };
  make(kRecords);
  // Every other one goes, from the back.
  for (size_t i = infos.size(); i-- > 0;) {
    if (i % 2 == 1) {
      delete infos[i];
      infos.erase(infos.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  for (size_t i = creations.size(); i-- > 0;) {
    if (i % 3 == 0) {
      delete creations[i];
      creations.erase(creations.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  for (size_t i = 0; i < infos.size(); ++i) infos[i]->index = static_cast<int32_t>(i + 1);
  for (size_t i = 0; i < creations.size(); ++i)
    creations[i]->positionIndex = static_cast<int32_t>(i + 1);
  // A record from the global heap, as a plug-in made before the pools existed would hand over:
  // the engine's delete must tell it from its own. The compiler sees the mismatch on purpose.
  auto* foreign = static_cast<ChildInfo*>(::operator new(sizeof(ChildInfo)));
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
  delete new (foreign) ChildInfo();
#pragma GCC diagnostic pop
  make(kRecords);

  std::set<const void*> places;
  for (size_t i = 0; i < infos.size(); ++i) {
    EXPECT_TRUE(places.insert(infos[i]).second) << "entry " << i;
    EXPECT_EQ(infos[i]->index, static_cast<int32_t>(i + 1));
  }
  for (size_t i = 0; i < creations.size(); ++i) {
    EXPECT_TRUE(places.insert(creations[i]).second) << "position " << i;
    EXPECT_EQ(creations[i]->positionIndex, static_cast<int32_t>(i + 1));
  }
  for (ChildInfo* info : infos) delete info;
  for (ChildCreation* creation : creations) delete creation;
}

// A pass walks a tree in the order it was built. Entries made again after a tree was released
// (in another order than it was built) must lie in the order they are made, as the first ones
// did, and not in the order of release.
TEST(Records, EntriesMadeAfterAReleaseLieInTheOrderTheyAreMade) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "every record has its own allocation under the address sanitizer";
#endif
  constexpr size_t kRecords = 4000;
  std::vector<ChildInfo*> infos(kRecords);
  for (ChildInfo*& info : infos) info = new ChildInfo();
  for (size_t i = 0; i < kRecords; i += 2) delete infos[i];
  for (size_t i = 1; i < kRecords; i += 2) delete infos[i];
  for (ChildInfo*& info : infos) info = new ChildInfo();
  size_t ascending = 0;
  for (size_t i = 1; i < kRecords; ++i)
    if (std::less<ChildInfo*>()(infos[i - 1], infos[i])) ++ascending;
  // Another test's records may still hold a few places.
  EXPECT_GT(ascending, kRecords * 9 / 10);
  for (ChildInfo* info : infos) delete info;
}

TEST(Records, PublicCallInfoDefaults) {
  PublicCallInfo info;
  EXPECT_STREQ(info.channelName, "No Name");
  EXPECT_STREQ(info.poolName, "No Pool");
  EXPECT_STREQ(info.targetPath, "");
  EXPECT_EQ(info.poolNr, 0);
  EXPECT_EQ(info.autoLoadGroup, 1);
  EXPECT_EQ(info.dynamicAutoLoadGroup, 0);
  EXPECT_EQ(info.unresolvedPosition.requestLink, -1);
  EXPECT_EQ(info.unresolvedPosition.positionIndex, 1);
  EXPECT_TRUE(VltGuidEqual(info.unresolvedPosition.acceptedType.typeGuid, VLT_WILDCARD_GUID));
}

TEST(Records, ParameterAndInterfaceDefaults) {
  ParameterInterfaceInfo p;
  EXPECT_STREQ(p.name, "");
  EXPECT_TRUE(VltGuidIsNull(p.type));
  PublicInterface pi;
  EXPECT_TRUE(VltGuidIsNull(pi.groupGuid));
  EXPECT_EQ(pi.items.GetItemCount(), 0);
}

TEST(Records, ChannelDependencyOwnsItsFileNames) {
  // The leak checker of the sanitizer build tells whether the strings are released.
  auto* dep = new ChannelDependency();
  EXPECT_TRUE(VltGuidIsNull(dep->typeGuid));
  for (const char* name : {"A.dll", "B.dll"}) {
    auto* s = new Vlt_String();
    s->SetString(name);
    dep->fileNames.AddItem(s);
  }
  EXPECT_EQ(dep->fileNames.GetItemCount(), 2);
  delete dep;
}

}  // namespace
