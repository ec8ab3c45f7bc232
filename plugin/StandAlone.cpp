// The stand-alone build of the report: the same form as the plug-in, run as a program.
// Its file name has no library extension, so the form initialises itself with the test
// company and looks for its host application object by identifier; the form is shown
// modally and its result printed.
#include <cstdio>

#include "platform/Library.h"
#include "report/MVAR52CF.h"

int main() {
  try {
    ox::Owned<ox::TfrmMVAR52> form{ox::CreateForm<ox::TfrmMVAR52>(nullptr)};
    form->SetModulePath(ox::GetModuleFileName(nullptr));
    const ox::TModalResult result = form->ShowModal();
    std::printf("program %s, modal result %d\n", form->ProgramCode.c_str(),
                static_cast<int>(result));
    if (!form->MessageTexts().empty()) std::printf("messages: %s\n", form->MessageTexts().c_str());
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
