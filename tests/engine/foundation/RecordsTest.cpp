#include <gtest/gtest.h>

#include <cstring>

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
