// The engine block of a channel, as the base SaveChannel writes it.
#include "groups/ChannelBlockWriter.h"

#include <cstdint>

#include "ChannelInternal.h"
#include "FilePathFind.h"
#include "PublicCallInfo.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "Vlt_String.h"
#include "graph/ChannelPoolInfo.h"
#include "graph/GraphText.h"
#include "groups/BlockWriter.h"
#include "groups/StoredRecords.h"

namespace {

// A list of pool names: the count, then each name, or a marker for a missing or empty one.
void WriteNames(vgroups::BlockWriter& out, const Vlt_List& names, const char* countTag,
                const char* nameTag, const char* emptyTag) {
  out.Int(countTag, names.GetItemCount());
  for (int i = 0; i < names.GetItemCount(); ++i) {
    const Vlt_String* name = static_cast<const Vlt_String*>(names.GetItem(i));
    const char* text = name != nullptr ? name->GetString() : nullptr;
    if (text != nullptr && text[0] != '\0')
      out.Text(nameTag, text);
    else
      out.Marker(emptyTag);
  }
}

// A call that loads its target group keeps the path to the target's file relative to its own
// group's file, so that the two files can move together.
void UpdateTargetPath(Vlt_Channel* channel, PublicCallInfo* record) {
  Vlt_ChannelGroup* group = channel->GetChannelGroup();
  if (group == nullptr || group->GetGroupIndex() == -1) return;
  if (record->autoLoadGroup == 0 && record->dynamicAutoLoadGroup == 0) return;
  Vlt_Channel* target = channelInternal->GetInternalPublicChannelForPublicCall(channel, false);
  Vlt_ChannelGroup* targetGroup = target != nullptr ? target->GetChannelGroup() : nullptr;
  if (targetGroup == nullptr) return;
  const char* targetFile = targetGroup->GetChannelGroupFileName();
  if (targetFile == nullptr || targetFile[0] == '\0') return;
  FilePathFind paths;
  paths.SetSourcePath(group->GetChannelGroupFileName());
  vgraph::CopyBounded(record->targetPath, sizeof(record->targetPath),
                      paths.GetValidRelativeDir(targetFile));
}

}  // namespace

bool ChannelBlockWriter::Write(Vlt_Channel* channel, VltFileSaver* saver) {
  if (channel == nullptr || saver == nullptr) return false;
  vgroups::BlockWriter out(saver);
  const int type = channel->interfaceType_;

  out.Byte("CHIC", channel->ignoreTreeCount_ != 0 ? 1 : 0);
  // A name is required on reading; a channel without one is stored as a single space.
  const char* name = channel->name_;
  out.Text("CHNA", name != nullptr && name[0] != '\0' ? name : " ");
  out.Int("CHIT", type);

  if (type == VCO_PUBLICCALL && channel->publicCallInfo_ != nullptr) {
    UpdateTargetPath(channel, channel->publicCallInfo_);
    uint8_t record[vgroups::kPublicCallInfoBytes];
    vgroups::PutPublicCallInfo(record, *channel->publicCallInfo_);
    out.Block("CHES", record, sizeof(record));
    out.Byte("CHTM", channel->treeCountMode_);
  }
  if (type == VCO_PARAMETER && channel->interfaceData_ != nullptr)
    out.Int("CEXI", static_cast<const ParameterInfo*>(channel->interfaceData_)->parameterNr);
  if ((type == VCO_PUBLIC || type == VCO_PUBLICINDIRECT) && channel->publicInterface_ != nullptr) {
    const PublicInterface* face = channel->publicInterface_;
    out.Guid("CEPG", face->groupGuid);
    out.Int("CHPC", face->items.GetItemCount());
    for (int i = 0; i < face->items.GetItemCount(); ++i)
      out.Int("CHPT", static_cast<int32_t>(reinterpret_cast<intptr_t>(face->items.GetItem(i))));
  }

  // An unresolved public call keeps a head it made for itself last; it is not stored, and the
  // ranks of its children travel in the position field, where linking them again expects them.
  const bool dropLast = channel->dropLastChild_ != 0;
  int count = channel->children_.GetItemCount();
  if (dropLast && count > 0) --count;
  out.Int("CHLC", count);
  for (int j = 0; j < count; ++j) {
    const ChildInfo* entry = static_cast<const ChildInfo*>(channel->children_.GetItem(j));
    if (entry == nullptr) {
      out.Int("CHLI", -1);
      continue;
    }
    const int position = dropLast ? j : entry->linkPosition;
    const int index = entry->channel != nullptr ? entry->channel->indexNr_ : -1;
    out.Int("CHLI", index);
    out.Int("CHUL", position);
    if (index != -1) out.Int("CHRP", dropLast ? 0 : entry->count);
  }

  out.Byte("CHUP", channel->usePoolChannel_);
  if (channel->poolInfo_ != nullptr)
    WriteNames(out, channel->poolInfo_->poolNames, "CHNC", "CHPN", "CHEN");
  else if (channel->poolNames_ != nullptr && channel->poolNames_->GetItemCount() > 0)
    WriteNames(out, *channel->poolNames_, "CPNC", "CPNP", "CPEN");
  return true;
}
