// Records of public calls and parameters.
#pragma once

#include "ChildCreation.h"
#include "Vlt_List.h"

// What a public-call channel calls (696 bytes when stored).
struct VEXILON_API PublicCallInfo {
  // "No Name", "No Pool", empty path, pool 0, auto-load on, dynamic load off.
  PublicCallInfo();

  char channelName[80];
  char poolName[80];
  char targetPath[260];
  int32_t poolNr;
  uint8_t autoLoadGroup;
  int32_t dynamicAutoLoadGroup;
  ChildCreation unresolvedPosition;
};

// Owned by a parameter channel: which parameter of the group's caller it stands for.
struct VEXILON_API ParameterInfo {
  int32_t parameterNr = 0;
};

// A declared parameter of a group (56 bytes when stored).
struct VEXILON_API ParameterInterfaceInfo {
  ParameterInterfaceInfo();

  char name[40];
  GUID type;
};

// A public channel's interface: the group it was declared in and the parameter numbers callers see.
struct VEXILON_API PublicInterface {
  PublicInterface();

  GUID groupGuid;
  Vlt_List items;  // parameter numbers stored as pointer-sized integers
};
