#include "ui/Animate.h"

namespace ox {

namespace {

const std::vector<std::string> kCommonAVINames{
    "aviNone",     "aviFindFolder",  "aviFindFile",     "aviFindComputer", "aviCopyFiles",
    "aviCopyFile", "aviRecycleFile", "aviEmptyRecycle", "aviDeleteFile"};

}  // namespace

const ClassInfo& TAnimate::StaticClassInfo() {
  using T = TAnimate;
  static const ClassInfo info =
      ClassBuilder<T>("TAnimate", &TWinControl::StaticClassInfo())
          .creatable()
          .property("Active", &T::Active, &T::SetActive)
          .defaultValue(0)
          .property("AutoSize", &T::AutoSize, &T::SetAutoSize)
          .defaultValue(1)
          .property("Center", &T::Center, &T::SetCenter)
          .defaultValue(1)
          .enumeration("CommonAVI", &T::CommonAVI, &T::SetCommonAVI, kCommonAVINames)
          .defaultValue(0)
          .property("FileName", &T::FileName, &T::SetFileName)
          .property("Repetitions", &T::Repetitions, &T::SetRepetitions)
          .defaultValue(0)
          .property("StartFrame", &T::StartFrame, &T::SetStartFrame)
          .defaultValue(1)
          .property("StopFrame", &T::StopFrame, &T::SetStopFrame)
          .defaultValue(0)
          .property("Timers", &T::Timers, &T::SetTimers)
          .defaultValue(0)
          .property("Transparent", &T::Transparent, &T::SetTransparent)
          .defaultValue(1)
          .event("OnStart", &T::OnStart)
          .event("OnStop", &T::OnStop)
          .build();
  return info;
}

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 100, 80);
}

void TAnimate::SetCommonAVI(TCommonAVI value) {
  if (value == commonAVI_) return;
  if (active_) Stop();
  commonAVI_ = value;
  fileName_.clear();
}

void TAnimate::SetFileName(const std::string& name) {
  if (name == fileName_) return;
  if (active_) Stop();
  fileName_ = name;
  commonAVI_ = TCommonAVI::aviNone;
}

void TAnimate::SetActive(bool value) {
  if (IsLoading()) {
    streamedActive_ = value;
    return;
  }
  if (value == active_) return;
  if (value && !Open()) throw EInvalidOperation("Cannot open AVI");
  active_ = value;
  if (active_)
    OnStart(this);
  else
    OnStop(this);
}

void TAnimate::Play(int from, int to, int count) {
  startFrame_ = from;
  stopFrame_ = to;
  repetitions_ = count;
  SetActive(true);
}

void TAnimate::Loaded() {
  TWinControl::Loaded();
  if (streamedActive_) SetActive(true);
}

}  // namespace ox
