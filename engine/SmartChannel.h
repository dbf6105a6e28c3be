// Handles that keep a reference to a channel and check it before use, so that they never
// answer a channel that its group has removed.
#pragma once

#include "VltExport.h"

class Vlt_Channel;
class EngineInterface;

class VEXILON_API GChannel {
 public:
  GChannel();
  virtual void SetChannel(Vlt_Channel* channel);
  virtual Vlt_Channel* GetChannel();
  virtual ~GChannel();

 private:
  int32_t groupIndex_;
  int32_t indexNr_;
  Vlt_Channel* channel_;
  EngineInterface* engine_;
};

class VEXILON_API SmartChannel {
 public:
  explicit SmartChannel(EngineInterface* engine = nullptr);
  virtual ~SmartChannel();
  virtual bool SetChannel(Vlt_Channel* channel);
  virtual Vlt_Channel* GetInternalChannel();
  virtual Vlt_Channel* GetChannel();

 private:
  GUID groupGuid_;
  int32_t groupIndex_;
  int32_t indexNr_;
  Vlt_Channel* channel_;
  EngineInterface* engine_;
};
