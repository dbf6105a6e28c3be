// Constructors of the plain records shared by the graph, the groups and the plug-ins.
#include <cstring>

#include "ChannelDependency.h"
#include "ChannelType.h"
#include "ChildCreation.h"
#include "PublicCallInfo.h"
#include "VltGuid.h"
#include "Vlt_String.h"

namespace {

// Records are stored byte for byte; zeroing them first keeps their padding deterministic.
template <typename Record>
void ZeroRecord(Record* record) {
  std::memset(static_cast<void*>(record), 0, sizeof(Record));
}

}  // namespace

// name and baseGuid are left as they are: plug-ins construct their static record with this
// constructor after the loader zeroed it, then fill in both.
ChannelType::ChannelType()
    : typeGuid(VLT_NULL_GUID), version{1, VLT_ENGINE_VERSION, 1}, reserved{0, 0} {}

ChildInfo::ChildInfo()
    : channel(nullptr),
      linkPosition(-1),
      isHead(0),
      isVariable(0),
      count(0),
      index(0),
      reserved(0),
      poolSnapshot(0),
      poolIndex(-1) {}

// Everything zero (the accepted type's version words too), then the wildcard accepted type, a
// variable request and position 1.
ChildCreation::ChildCreation() {
  ZeroRecord(this);
  acceptedType.typeGuid = VLT_WILDCARD_GUID;
  acceptedType.baseGuid = VLT_WILDCARD_GUID;
  requestLink = -1;
  head = nullptr;
  positionIndex = 1;
}

PublicCallInfo::PublicCallInfo() {
  ZeroRecord(this);
  std::strcpy(channelName, "No Name");
  std::strcpy(poolName, "No Pool");
  poolNr = 0;
  autoLoadGroup = 1;
  dynamicAutoLoadGroup = 0;
  unresolvedPosition = ChildCreation();
}

ParameterInterfaceInfo::ParameterInterfaceInfo() {
  ZeroRecord(this);
  type = VLT_NULL_GUID;
}

PublicInterface::PublicInterface() : groupGuid(VLT_NULL_GUID) {}

ChannelDependency::ChannelDependency() : typeGuid(VLT_NULL_GUID) {}

ChannelDependency::~ChannelDependency() {
  for (int i = 0; i < fileNames.GetItemCount(); ++i)
    delete static_cast<Vlt_String*>(fileNames.GetItem(i));
  fileNames.ReleaseItems();
}
