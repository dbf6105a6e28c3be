// The plug-in SDK: everything a channel plug-in or a host needs of the engine core.
#pragma once

#include "BaseChannelTypes.h"
#include "ChannelDependency.h"
#include "ChannelInternal.h"
#include "ChannelList.h"
#include "ChannelType.h"
#include "ChildCreation.h"
#include "DebugMessage.h"
#include "DebugOutPut.h"
#include "DllInterface.h"
#include "EngineControl.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "EngineListener.h"
#include "PublicCallInfo.h"
#include "ShowDebug.h"
#include "ShowDebugMessage.h"
#include "SmartChannel.h"
#include "Vco_DirectoryChannel.h"
#include "Vco_FileLoaderChannel.h"
#include "Vco_FileSaverChannel.h"
#include "Vco_TranslatorChannel.h"
#include "VltExport.h"
#include "VltFileLoader.h"
#include "VltFileSaver.h"
#include "VltGuid.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "Vlt_List.h"
#include "Vlt_String.h"

// Every channel plug-in exports these two functions under their plain names.
typedef Vlt_Channel* (*InitDLLFn)();
typedef ChannelType* (*GetTypeFn)();
