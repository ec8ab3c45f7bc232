// Runs from a folder of its own that holds the platform library but not the language
// library: the machine of a user whose installation lacks it.
#include <gtest/gtest.h>

#include <string>

#include "lang/CodeConverter.h"
#include "platform/CodePage.h"
#include "platform/Library.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

class TranslatorMissingTest : public ::testing::Test {
 protected:
  void Install(std::string_view uiCodePage) const {
    machine.InstallClient("[CodePage]\r\nUICodePage=" + std::string(uiCodePage) + "\r\n");
  }

  test::TestMachine machine{936};
};

TEST_F(TranslatorMissingTest, TheLibraryIsReallyMissingHere) {
  EXPECT_FALSE(LibraryFileExists("Oxlanguage.dll"));
  EXPECT_EQ(LoadLibrary("Oxlanguage.dll"), nullptr);
}

TEST_F(TranslatorMissingTest, ABig5InterfaceCannotCreateItsConverter) {
  Install("950");
  TComponent owner(nullptr);
  try {
    TCodeConverter converter(&owner);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Load Library Oxlanguage.dll Error!");
  }
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(TranslatorMissingTest, AGbInterfaceNeedsNoLibraryAndConvertsNothing) {
  Install("936");
  const TCodeConverter converter(nullptr);
  EXPECT_EQ(converter.FTranslator(), nullptr);
  const std::string gb = Gb("报表");
  EXPECT_EQ(converter.ConvertCodePage(2, gb), Variant(gb));
  EXPECT_EQ(converter.GBToBig5(gb), gb);
  EXPECT_EQ(converter.Big5ToGB(gb), gb);
}

}  // namespace
}  // namespace ox
