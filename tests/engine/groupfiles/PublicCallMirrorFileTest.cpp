// A public call saved with its arguments and loaded back: each argument returns to the position
// of the target's parameter it was given for, whether the target is known when the caller is
// saved or loaded or not.
#include "GroupFileFixture.h"

namespace grouptest {
namespace {

struct MirrorFileCase {
  const char* name;
  bool linkedBeforeTarget;  // arguments linked while the call waited for its target
  bool positionsAsked;      // the mirrored positions were asked for before saving
  bool targetAtLoad;        // the target can be found while the caller loads
};

class PublicCallMirrorFileTest : public GroupFileTest,
                                 public ::testing::WithParamInterface<MirrorFileCase> {
 protected:
  // The target "House" declares three parameters and publishes Door.
  void MakeTarget(bool publish) {
    house_ = engine_->CreateNewGroup("House", false, 0);
    for (const char* name : {"P0", "P1", "P2"}) {
      ParameterInterfaceInfo info;
      std::strcpy(info.name, name);
      info.type = testplugins::kGoodType;
      house_->AddParameterInfo(info);
    }
    if (!publish) return;
    Vlt_Channel* door = NewChannel(house_, testplugins::kGoodType, "Door");
    door->SetChannelInterfaceType(VCO_PUBLIC);
    house_->CheckPublicChannels();
  }

  Vlt_ChannelGroup* house_ = nullptr;
};

TEST_P(PublicCallMirrorFileTest, ArgumentsKeepTheirPositions) {
  const MirrorFileCase& c = GetParam();
  MakeTarget(!c.linkedBeforeTarget);
  Vlt_ChannelGroup* caller = NewGroup();
  Vlt_Channel* call = NewChannel(caller, testplugins::kGoodType, "Call");
  call->SetChannelInterfaceType(VCO_PUBLICCALL);
  PublicCallInfo info = channelInternal->GetPublicCallInfo(call);
  std::strcpy(info.channelName, "Door");
  std::strcpy(info.poolName, "House");
  info.autoLoadGroup = 0;
  ASSERT_TRUE(channelInternal->SetPublicCallInfo(call, info));
  const char* names[3] = {"x", "y", "z"};
  Vlt_Channel* args[3];
  for (int k = 0; k < 3; ++k) args[k] = NewChannel(caller, testplugins::kGoodType, names[k]);
  // Out of order, so that list order cannot stand in for positions.
  for (int k : {2, 0, 1}) ASSERT_EQ(call->SetChild(args[k], -1, k), k);
  if (c.linkedBeforeTarget) {
    Vlt_Channel* door = NewChannel(house_, testplugins::kGoodType, "Door");
    door->SetChannelInterfaceType(VCO_PUBLIC);
    house_->CheckPublicChannels();
  }
  if (c.positionsAsked) {
    ASSERT_EQ(channelInternal->GetChildCreationCount(call), 3);
  }

  const std::vector<uint8_t> saved = Save(caller);
  if (!c.targetAtLoad) house_->SetPoolName("Moved");
  Vlt_ChannelGroup* loaded = LoadOk(saved);
  Vlt_Channel* loadedCall = loaded->GetChannel(0);
  ASSERT_NE(loadedCall, nullptr);
  if (!c.targetAtLoad) {
    house_->SetPoolName("House");
    house_->CheckPublicChannels();
  }
  ASSERT_EQ(channelInternal->GetChildCreationCount(loadedCall), 3);
  for (int k = 0; k < 3; ++k) {
    Vlt_Channel* argument = loadedCall->GetChildFromLinkPosition(k, 0);
    ASSERT_NE(argument, nullptr) << k;
    EXPECT_STREQ(argument->GetChannelName(), names[k]) << k;
  }
  // Once both sides are settled the file no longer changes.
  channelInternal->GetChildCreationCount(call);
  EXPECT_EQ(Save(loaded), Save(caller));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PublicCallMirrorFileTest,
    ::testing::Values(MirrorFileCase{"Mirrored", false, true, true},
                      MirrorFileCase{"MirroredTargetLoadedLater", false, true, false},
                      MirrorFileCase{"WaitedThenMirrored", true, true, true},
                      MirrorFileCase{"StillWaitingWhenSaved", true, false, true},
                      MirrorFileCase{"StillWaitingTargetLoadedLater", true, false, false}),
    [](const ::testing::TestParamInfo<MirrorFileCase>& info) { return info.param.name; });

}  // namespace
}  // namespace grouptest
