// A report server module for the tests: it keeps what the client hands it and tells it
// back as its message. A job whose values are "fail" fails.
#include "framework/ServerModule.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace {

class Recorder : public ox::TServerModuleController {
 public:
  void GetMessage(std::u16string& message) override { message = ox::Utf8ToWide(told_); }
  void Run(const ox::Variant& job) override {
    const int high = ox::VarArrayHighBound(job, 1);
    told_ = "elements " + std::to_string(high + 1);
    for (int i = 0; i <= high; ++i)
      if (!job[i].isArray()) told_ += "|" + ox::VarToStr(job[i]);
    for (int i = 0; i <= high; ++i)
      if (job[i].isText() && job[i].asString() == "fail") throw ox::Exception("module failed");
  }

 private:
  std::string told_ = "nothing run";
};

}  // namespace

extern "C" __attribute__((visibility("default"))) ox::TServerModuleController* GetSvrController() {
  return new Recorder();
}
