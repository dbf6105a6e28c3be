// The group file as SaveChannelGroup writes it.
#include "groups/GroupFileWriter.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "EngineInterface.h"
#include "PublicCallInfo.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "groups/BlockWriter.h"
#include "groups/StoredRecords.h"

namespace {

constexpr int32_t kFileVersion = 57;

// Public calls and parameters carry nothing of their own type: only the engine block follows,
// announced by a marker, so that reading need not ask the type.
bool WriteChannel(vgroups::BlockWriter& out, Vlt_Channel* channel, VltFileSaver* saver) {
  const int type = channel->GetChannelInterfaceType();
  if (type == VCO_PUBLICCALL || type == VCO_PARAMETER) {
    out.Marker("CHES");
    out.Flush();
    return channel->Vlt_Channel::SaveChannel(saver);
  }
  out.Flush();
  return channel->SaveChannel(saver);
}

}  // namespace

bool GroupFileWriter::Write(Vlt_ChannelGroup* group, VltFileSaver* saver) {
  if (group == nullptr || saver == nullptr) return false;
  EngineInterface* engine = group->engine_;
  vgroups::BlockWriter out(saver);
  out.Int("LVRS", kFileVersion);
  out.Marker("VLTG");
  out.Guid("CGGG", group->uniqueGroupGuid_);
  const int slots = group->channels_.GetItemCount();
  out.Int("CHCO", slots);

  for (int i = 0; i < slots; ++i) {
    Vlt_Channel* channel = group->GetChannel(i);
    if (channel == nullptr) {
      out.Int("CHIX", -1);
      continue;
    }
    out.Int("CHIX", channel->GetChannelIDIndexNr());
    if (i == group->changeSaveIndex_ && engine != nullptr) {
      // Saved as a fresh channel of the new type, in place of the real one's content.
      Vlt_Channel* fresh = engine->InitChannelFromType(group->changeSaveType_, nullptr, false);
      if (fresh != nullptr) {
        out.Guid("CHID", fresh->GetChannelType().typeGuid);
        WriteChannel(out, fresh, saver);
        delete fresh;
        continue;
      }
      engine->showMessageBox_("Error change channel can't be initialized");
    }
    out.Guid("CHID", channel->GetChannelType().typeGuid);
    WriteChannel(out, channel, saver);
  }

  out.Int("CHSC", group->startChannel_);
  const int parameters = group->parameterInfos_.GetItemCount();
  out.Int("CGIC", parameters);
  std::vector<uint8_t> records(static_cast<size_t>(parameters) *
                               vgroups::kParameterInterfaceInfoBytes);
  for (int k = 0; k < parameters; ++k) {
    const ParameterInterfaceInfo* info =
        static_cast<const ParameterInterfaceInfo*>(group->parameterInfos_.GetItem(k));
    ParameterInterfaceInfo empty;
    if (info == nullptr) {
      std::memcpy(empty.name, "NoInterface", sizeof("NoInterface"));
      info = &empty;
    }
    vgroups::PutParameterInterfaceInfo(records.data() + k * vgroups::kParameterInterfaceInfoBytes,
                                       *info);
  }
  out.Block("CGII", records.data(), records.size());
  const char* instance = group->GetPoolName();
  out.Text("CINA", instance[0] != '\0' ? instance : "No Name Instance");
  return true;
}
