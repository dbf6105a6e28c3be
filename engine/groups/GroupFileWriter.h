// Writes a channel group as a group file: header, one record per channel slot, trailer.
#pragma once

class Vlt_ChannelGroup;
class VltFileSaver;

class GroupFileWriter {
 public:
  static bool Write(Vlt_ChannelGroup* group, VltFileSaver* saver);
};
