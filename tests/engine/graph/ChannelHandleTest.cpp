// Channel handles: they answer their channel only while its slot still holds it.
#include "GraphFixture.h"
#include "SmartChannel.h"

namespace graphtest {
namespace {

using ChannelHandleTest = GraphTest;

TEST_F(ChannelHandleTest, GChannelGoesStaleWhenItsSlotChanges) {
  Vlt_ChannelGroup* group = engine_->CreateNewGroup("Handles", false, 0);
  auto* a = new TestChannel({}, kTypeA, kTypeA, "a");
  group->AddChannel(a);
  GChannel handle;
  handle.SetChannel(a);
  EXPECT_EQ(handle.GetChannel(), a);

  GChannel copy = handle;
  // Made while a still lives, so that b cannot take a's address.
  auto* b = new TestChannel({}, kTypeA, kTypeA, "b");
  group->RemoveChannel(a);
  EXPECT_EQ(handle.GetChannel(), nullptr);
  EXPECT_EQ(group->AddChannel(b), 0);  // the same slot, another object
  EXPECT_EQ(copy.GetChannel(), nullptr);

  handle.SetChannel(b);
  EXPECT_EQ(handle.GetChannel(), b);
  engine_->DeleteChannelGroup(group->GetGroupIndex());
  EXPECT_EQ(handle.GetChannel(), nullptr);

  handle.SetChannel(Loose());  // no group: nothing to check against
  EXPECT_EQ(handle.GetChannel(), nullptr);
  handle.SetChannel(nullptr);
  EXPECT_EQ(handle.GetChannel(), nullptr);
}

TEST_F(ChannelHandleTest, SmartChannelChecksRegisteredGroupsOnly) {
  SmartChannel handle(engine_);
  EXPECT_FALSE(handle.SetChannel(nullptr));
  EXPECT_EQ(handle.GetInternalChannel(), nullptr);

  // Without a group the channel is kept but unchecked.
  TestChannel* loose = Loose();
  EXPECT_FALSE(handle.SetChannel(loose));
  EXPECT_EQ(handle.GetInternalChannel(), loose);
  EXPECT_EQ(handle.GetChannel(), loose);

  // A group that is not registered cannot be looked up: answered without a check.
  Vlt_ChannelGroup unregistered(engine_);
  auto* member = new TestChannel();
  unregistered.AddChannel(member);
  EXPECT_TRUE(handle.SetChannel(member));
  EXPECT_EQ(handle.GetInternalChannel(), member);

  Vlt_ChannelGroup* group = engine_->CreateNewGroup("Smart", false, 0);
  auto* registered = new TestChannel();
  group->AddChannel(registered);
  EXPECT_TRUE(handle.SetChannel(registered));
  EXPECT_EQ(handle.GetInternalChannel(), registered);
  group->RemoveChannel(registered);
  EXPECT_EQ(handle.GetInternalChannel(), nullptr);
  EXPECT_EQ(handle.GetChannel(), nullptr);

  // The engine is taken from globalEngine when none was given.
  SmartChannel global;
  EXPECT_FALSE(global.SetChannel(loose));
  EXPECT_EQ(global.GetInternalChannel(), loose);
}

TEST_F(ChannelHandleTest, SmartChannelResolvesWhatTheChannelStandsFor) {
  Vlt_ChannelGroup* target = engine_->CreateNewGroup("Target", false, 0);
  Vlt_ChannelGroup* callers = engine_->CreateNewGroup("Callers", false, 0);
  auto* call = new TestChannel({}, kTypeA, kTypeA, "call");
  callers->AddChannel(call);
  call->SetChannelInterfaceType(VCO_PUBLICCALL);
  PublicCallInfo info;
  std::strcpy(info.channelName, "Light");
  std::strcpy(info.poolName, "Target");
  info.autoLoadGroup = 0;
  channelInternal->SetPublicCallInfo(call, info);

  SmartChannel handle(engine_);
  ASSERT_TRUE(handle.SetChannel(call));
  EXPECT_EQ(handle.GetChannel(), nullptr);  // unresolved
  EXPECT_EQ(handle.GetInternalChannel(), call);

  auto* light = new TestChannel({}, kTypeA, kTypeA, "Light");
  target->AddChannel(light);
  light->SetChannelInterfaceType(VCO_PUBLIC);
  target->CheckPublicChannels();
  EXPECT_EQ(handle.GetChannel(), light);
  EXPECT_EQ(handle.GetInternalChannel(), call);
  const int count = target->GetTreeCalculateCount();
  handle.GetChannel();
  EXPECT_EQ(target->GetTreeCalculateCount(), count);  // no activation

  auto* parameter = new TestChannel();
  callers->AddChannel(parameter);
  parameter->SetChannelInterfaceType(VCO_PARAMETER);
  ASSERT_TRUE(handle.SetChannel(parameter));
  EXPECT_EQ(handle.GetChannel(), nullptr);
  EXPECT_EQ(handle.GetInternalChannel(), parameter);

  auto* indirect = new TestChannel();
  callers->AddChannel(indirect);
  indirect->SetChannelInterfaceType(VCO_INDIRECT);
  ASSERT_TRUE(handle.SetChannel(indirect));
  EXPECT_EQ(handle.GetChannel(), nullptr);  // supplies nothing without a parent
}

}  // namespace
}  // namespace graphtest
