// Animation controls that play one of the system's animations or an AVI file. Headless,
// nothing is played: Active records whether the animation runs, with OnStart when it
// starts and OnStop when it stops.
#pragma once

#include <string>

#include "ui/Controls.h"

namespace ox {

enum class TCommonAVI {
  aviNone,
  aviFindFolder,
  aviFindFile,
  aviFindComputer,
  aviCopyFiles,
  aviCopyFile,
  aviRecycleFile,
  aviEmptyRecycle,
  aviDeleteFile
};

class TAnimate : public TWinControl {
 public:
  OX_CLASS_INFO()
  explicit TAnimate(TComponent* owner);

  TCommonAVI CommonAVI() const { return commonAVI_; }
  // Choosing a system animation forgets the file and the other way round; either
  // stops a running animation.
  void SetCommonAVI(TCommonAVI value);
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name);
  // Whether there is an animation to play (a system one or a file).
  bool Open() const { return commonAVI_ != TCommonAVI::aviNone || !fileName_.empty(); }

  bool Active() const { return active_; }
  // Starts or stops the animation. Starting one with nothing to play raises
  // EInvalidOperation. While a form resource is read the state is only recorded; the
  // animation starts once the reading is done.
  void SetActive(bool value);
  // Plays frames `from` to `to` (0: the last) `count` times (0: endlessly).
  void Play(int from, int to, int count);
  void Stop() { SetActive(false); }

  bool Center() const { return center_; }
  void SetCenter(bool value) { center_ = value; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value) { autoSize_ = value; }
  int Repetitions() const { return repetitions_; }
  void SetRepetitions(int value) { repetitions_ = value; }
  int StartFrame() const { return startFrame_; }
  void SetStartFrame(int value) { startFrame_ = value; }
  int StopFrame() const { return stopFrame_; }
  void SetStopFrame(int value) { stopFrame_ = value; }
  bool Timers() const { return timers_; }
  void SetTimers(bool value) { timers_ = value; }

  TNotifyEvent OnStart;
  TNotifyEvent OnStop;

  void Loaded() override;

 private:
  TCommonAVI commonAVI_ = TCommonAVI::aviNone;
  std::string fileName_;
  bool active_ = false;
  bool streamedActive_ = false;  // Active as read from a form resource
  bool center_ = true;
  bool transparent_ = true;
  bool autoSize_ = true;
  int repetitions_ = 0;
  int startFrame_ = 1;
  int stopFrame_ = 0;
  bool timers_ = false;
};

}  // namespace ox
