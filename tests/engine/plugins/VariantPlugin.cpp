// One source for the small test plug-ins; the build picks the variant with VARIANT_<name>.
// Each logs its construction, one-time initialisation, destruction and module unload.
#include <cstdio>
#include <cstring>
#include <string>

#include "TestLog.h"
#include "TestPluginTypes.h"
#include "Vexilon.h"

#if defined(VARIANT_VERSION58)
#define VARIANT_NAME "Version58"
#define VARIANT_TYPE testplugins::kVersion58Type
#define VARIANT_ENGINE_VERSION 58
#elif defined(VARIANT_NOINIT)
#define VARIANT_NAME "NoInit"
#define VARIANT_TYPE testplugins::kNoInitType
#define VARIANT_WITHOUT_INITDLL
#elif defined(VARIANT_NOTYPE)
#define VARIANT_NAME "NoType"
#define VARIANT_TYPE testplugins::kNoTypeType
#define VARIANT_WITHOUT_GETTYPE
#elif defined(VARIANT_NULLINIT)
#define VARIANT_NAME "NullInit"
#define VARIANT_TYPE testplugins::kNullInitType
#define VARIANT_INITDLL_GIVES_NULL
#elif defined(VARIANT_CHILDMAKER)
#define VARIANT_NAME "ChildMaker"
#define VARIANT_TYPE testplugins::kChildMakerType
#elif defined(VARIANT_NEST)
#define VARIANT_NAME "Nest"
#define VARIANT_TYPE testplugins::kNestType
#elif defined(VARIANT_DEPENDENT)
#define VARIANT_NAME "Dependent"
#define VARIANT_TYPE testplugins::kDependentType
#include "TestSupport.h"
#elif defined(VARIANT_RELEASENOTIFY)
#define VARIANT_NAME "ReleaseNotify"
#define VARIANT_TYPE testplugins::kReleaseNotifyType
#elif defined(VARIANT_FILEDIALOG)
#define VARIANT_NAME "FileDialog"
#define VARIANT_TYPE testplugins::kFileDialogType
#else
#error "no test plug-in variant selected"
#endif

#ifndef VARIANT_ENGINE_VERSION
#define VARIANT_ENGINE_VERSION VLT_ENGINE_VERSION
#endif

namespace {

struct UnloadLogger {
  ~UnloadLogger() { testplugins::AppendLog("unload:" VARIANT_NAME); }
} unloadLogger;

// A position that holds one child and creates a default child of the given type.
[[maybe_unused]] void DeclareDefaultChild(Vlt_Channel* channel, int index, const GUID& type,
                                          const char* linkName, bool create) {
  ChildCreation position;
  position.requestLink = index;
  position.createDefaultChild = create ? 1 : 0;
  position.defaultChildType = type;
  std::snprintf(position.linkName, sizeof(position.linkName), "%s", linkName);
  channel->SetChildCreateType(position, index);
}

class VariantChannel : public Vlt_Channel {
 public:
  VariantChannel() {
    SetChannelName(VARIANT_NAME);
    SetChildCreationCount(0);
#if defined(VARIANT_CHILDMAKER)
    DeclareDefaultChild(this, 0, testplugins::kGoodType, "AutoGood", true);
#elif defined(VARIANT_NEST)
    DeclareDefaultChild(this, 0, testplugins::kChildMakerType, "Maker", true);
    DeclareDefaultChild(this, 1, testplugins::kMissingType, "Missing", true);
    DeclareDefaultChild(this, 2, testplugins::kGoodType, "NotCreated", false);
#elif defined(VARIANT_DEPENDENT)
    // Only resolvable when the support library in the 3rd folder was found.
    testplugins::AppendLog("support:" + std::to_string(TestSupportValue()));
#endif
  }
  ~VariantChannel() override { testplugins::AppendLog("~" VARIANT_NAME); }
  void OneTimeInitialize() override {
    std::string children;
    for (int i = 0; i < GetChildCount(); ++i) children += GetChild(i) != nullptr ? "+" : "-";
    testplugins::AppendLog("init:" VARIANT_NAME + children);
  }
#if defined(VARIANT_RELEASENOTIFY)
  virtual void Slot15() {}
  virtual void Slot16() {}
  virtual void OnReleaseGroups() { testplugins::AppendLog("notify"); }  // slot 17
#elif defined(VARIANT_FILEDIALOG)
  virtual void Slot15() {}
  virtual void Slot16() {}
  virtual void Slot17() {}
  virtual void Slot18() {}
  virtual void Slot19() {}
  virtual void Slot20() {}
  virtual void Slot21() {}
  virtual void Slot22() {}
  virtual void Slot23() {}
  virtual void Slot24() {}
  virtual void Slot25() {}
  virtual void Slot26() {}
  virtual void Slot27() {}
  virtual void Slot28() {}
  virtual void Slot29() {}
  virtual void Slot30() {}
  virtual void Slot31() {}
  // Slot 32: the user chooses nothing; the filter and extension go to the log.
  virtual void ChooseFile(const char* filter, const char* extension, char* path) {
    testplugins::AppendLog(std::string("dialog:") + filter + "|" + extension + "|" + path);
  }
#endif
};

}  // namespace

#ifndef VARIANT_WITHOUT_INITDLL
VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() {
#ifdef VARIANT_INITDLL_GIVES_NULL
  return nullptr;
#else
  return new VariantChannel();
#endif
}
#endif

#ifndef VARIANT_WITHOUT_GETTYPE
VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;
  std::snprintf(type.name, sizeof(type.name), "%s", "Test " VARIANT_NAME);
  type.typeGuid = VARIANT_TYPE;
  type.baseGuid = VARIANT_TYPE;
  type.version[1] = VARIANT_ENGINE_VERSION;
  type.version[2] = 0;
  return &type;
}
#endif
