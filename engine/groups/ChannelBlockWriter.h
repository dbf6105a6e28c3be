// Writes a channel's engine block: name, interface records, links and pools.
#pragma once

class Vlt_Channel;
class VltFileSaver;

class ChannelBlockWriter {
 public:
  static bool Write(Vlt_Channel* channel, VltFileSaver* saver);
};
