// Reads a group file into a channel group: containers and the protected form are undone first,
// then the header, one record per slot, the links between the loaded channels, and the trailer.
#pragma once

class Vlt_ChannelGroup;
class VltFileLoader;

class GroupFileReader {
 public:
  static bool Read(Vlt_ChannelGroup* group, VltFileLoader* loader, bool useInstanceName);

 private:
  // Links every channel that waits for a loaded channel, in ascending order of the target.
  static void ResolveRequests(Vlt_ChannelGroup* group);
};
