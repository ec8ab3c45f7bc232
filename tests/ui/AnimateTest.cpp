#include <gtest/gtest.h>

#include <string>

#include "ui/Animate.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"

namespace ox {
namespace {

struct Recorder {
  std::string log;
  void Started(TObject*) { log += "start "; }
  void Stopped(TObject*) { log += "stop "; }
};

TEST(Animate, ActiveRecordsTheStateWithStartAndStopEvents) {
  Recorder recorder;
  TAnimate animate(nullptr);
  animate.OnStart = MakeMethod<&Recorder::Started>(&recorder);
  animate.OnStop = MakeMethod<&Recorder::Stopped>(&recorder);
  EXPECT_THROW(animate.SetActive(true), EInvalidOperation);  // nothing to play

  animate.SetCommonAVI(TCommonAVI::aviFindFile);
  animate.SetActive(true);
  animate.SetActive(true);
  EXPECT_TRUE(animate.Active());
  animate.SetFileName("C:\\App\\busy.avi");  // another animation stops this one
  EXPECT_FALSE(animate.Active());
  EXPECT_EQ(animate.CommonAVI(), TCommonAVI::aviNone);
  animate.Play(2, 5, 3);
  EXPECT_EQ(animate.StopFrame(), 5);
  animate.Stop();
  EXPECT_EQ(recorder.log, "start stop start stop ");
}

TEST(Animate, AnActiveAnimationInAResourceStartsOnceRead) {
  Owned<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentResource(*form, R"(
object Form1: TForm
  object Animate1: TAnimate
    Left = 68
    Top = 8
    Width = 16
    Height = 16
    Active = True
    CommonAVI = aviFindFile
    StopFrame = 8
  end
end)");
  auto* animate = dynamic_cast<TAnimate*>(form->FindComponent("Animate1"));
  ASSERT_NE(animate, nullptr);
  EXPECT_TRUE(animate->Active());
  EXPECT_EQ(animate->StopFrame(), 8);
  EXPECT_EQ(animate->BoundsRect(), (TRect{68, 8, 84, 24}));
}

}  // namespace
}  // namespace ox
