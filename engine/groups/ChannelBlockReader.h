// Reads a channel's engine block. Links are not made here: each one becomes a request of the
// group, resolved once every channel of the file exists.
#pragma once

class Vlt_Channel;
class Vlt_ChannelGroup;
class VltFileLoader;

class ChannelBlockReader {
 public:
  static bool Read(Vlt_Channel* channel, VltFileLoader* loader, Vlt_ChannelGroup* group);
};
