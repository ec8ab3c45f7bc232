#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/Exceptions.h"
#include "platform/OleAuto.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

// An account with a writable balance, a read-only owner and two methods, one of which
// answers through by-reference arguments.
class Account : public AutoObject {
 public:
  Account() {
    AddProperty(
        "Balance", [this] { return Variant(balance_); },
        [this](const Variant& value) { balance_ = value.asInteger(); });
    AddProperty("Owner", [] { return Variant("tester"); });
    AddMethod("Deposit", 1, [this](std::span<Variant> args) {
      balance_ += args[0].asInteger();
      return Variant(balance_);
    });
    // Split(total, var half, var rest): both halves of total, answering true.
    AddMethod("Split", 3, [](std::span<Variant> args) {
      const int total = args[0].asInteger();
      args[1] = total / 2;
      args[2] = total - total / 2;
      return Variant(true);
    });
  }

 private:
  int balance_ = 0;
};

Variant NewAccount() {
  return Variant(DispatchPtr(std::make_shared<Account>()));
}

// Expects the action to raise EOleSysError with the code; answers its message.
std::string ExpectOleSysError(const std::function<void()>& action, std::int32_t code) {
  try {
    action();
    ADD_FAILURE() << "no error raised";
  } catch (const EOleSysError& error) {
    EXPECT_EQ(error.ErrorCode(), code) << error.Message();
    return error.Message();
  }
  return {};
}

TEST(OleCallTest, ByRefArgumentsComeBackAndValuesStay) {
  const Variant account = NewAccount();
  Variant half;
  Variant rest = "old";
  EXPECT_EQ(OleCall(account, "Split", {7, ByRef(half), ByRef(rest)}), Variant(true));
  EXPECT_EQ(half, Variant(3));
  EXPECT_EQ(rest, Variant(4));

  Variant byValue = "unchanged";
  OleCall(account, "split", {9, byValue, ByRef(rest)});
  EXPECT_EQ(byValue, Variant("unchanged"));
  EXPECT_EQ(rest, Variant(5));
}

TEST(OleCallTest, PropertiesAndMethodsIgnoreCase) {
  const Variant account = NewAccount();
  OlePropertySet(account, "BALANCE", 25);
  EXPECT_EQ(OlePropertyGet(account, "balance"), Variant(25));
  EXPECT_EQ(OleCall(account, "deposit", {5}), Variant(30));
  // Automation callers read a property and call a parameterless function alike.
  EXPECT_EQ(OleCall(account, "Balance"), Variant(30));
  EXPECT_EQ(OlePropertyGet(account, "Owner"), Variant("tester"));
}

TEST(OleCallTest, RejectsUnknownMembersAndWrongUse) {
  const Variant account = NewAccount();
  try {
    OleCall(account, "Withdraw", {1});
    ADD_FAILURE() << "no error raised";
  } catch (const EOleError& error) {
    EXPECT_EQ(error.Message(), "Method 'Withdraw' not supported by automation object");
    EXPECT_STREQ(error.ClassName(), "EOleError");
  }
  const struct {
    const char* what;
    std::function<void()> action;
    std::int32_t code;
  } cases[] = {
      {"write read-only", [&] { OlePropertySet(account, "Owner", "x"); }, DISP_E_MEMBERNOTFOUND},
      {"write a method", [&] { OlePropertySet(account, "Deposit", 1); }, DISP_E_MEMBERNOTFOUND},
      {"too many",
       [&] {
         OleCall(account, "Deposit", {1, 2});
       },
       DISP_E_BADPARAMCOUNT},
      {"too few", [&] { OleCall(account, "Split", {1}); }, DISP_E_BADPARAMCOUNT},
      {"property args", [&] { OleCall(account, "Balance", {1}); }, DISP_E_BADPARAMCOUNT},
  };
  for (const auto& [what, action, code] : cases) {
    SCOPED_TRACE(what);
    ExpectOleSysError(action, code);
  }
}

TEST(OleCallTest, EmptyOrNullObjectDoesNothing) {
  for (const Variant& nothing : {Variant(), Variant::Null()}) {
    Variant kept = "kept";
    EXPECT_TRUE(OleCall(nothing, "Anything", {ByRef(kept)}).isEmpty());
    EXPECT_EQ(kept, Variant("kept"));
    EXPECT_TRUE(OlePropertyGet(nothing, "Anything").isEmpty());
    EXPECT_NO_THROW(OlePropertySet(nothing, "Anything", 1));
  }
  EXPECT_THROW(OleCall(Variant(5), "Anything"), EVariantTypeCastError);
}

// The class registry: in-process registrations and the registry file, whose class
// "OxTest.Adder" lives in the test library.
class CreateOleObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine.WriteRegistry(
        "[HKEY_CLASSES_ROOT\\OxTest.Adder\\InprocServer32]\r\n"
        "@=\"OxTestLib.dll\"\r\n\"Factory\"=\"OxTestCreate\"\r\n"
        "[HKEY_CLASSES_ROOT\\OxTest.Refused\\InprocServer32]\r\n"
        "@=\"OxTestLib.dll\"\r\n\"Factory\"=\"OxTestCreate\"\r\n"
        "[HKEY_CLASSES_ROOT\\OxTest.NoLibrary\\InprocServer32]\r\n"
        "@=\"C:\\\\App\\\\NoSuchLib.dll\"\r\n\"Factory\"=\"OxTestCreate\"\r\n"
        "[HKEY_CLASSES_ROOT\\OxTest.NoFactory\\InprocServer32]\r\n"
        "@=\"OxTestLib.dll\"\r\n\"Factory\"=\"OxTestMissing\"\r\n"
        "[HKEY_CLASSES_ROOT\\OxTest.Unnamed\\InprocServer32]\r\n"
        "@=\"OxTestLib.dll\"\r\n"
        "[HKEY_CLASSES_ROOT\\OxTest.NoServer]\r\n"
        "@=\"OxTestLib.dll\"\r\n");
  }
  void TearDown() override {
    UnregisterOleClass("Test.Account");
    UnregisterOleClass("OxTest.Adder");
  }

  test::TestMachine machine{936};
};

TEST_F(CreateOleObjectTest, InProcessClassesMakeAFreshObjectEachTime) {
  RegisterOleClass("Test.Account", [] { return std::make_shared<Account>(); });
  const Variant first = CreateOleObject("TEST.ACCOUNT");
  const Variant second = CreateOleObject("test.account");
  OlePropertySet(first, "Balance", 10);
  EXPECT_EQ(OlePropertyGet(second, "Balance"), Variant(0));

  UnregisterOleClass("Test.ACCOUNT");
  ExpectOleSysError([] { CreateOleObject("Test.Account"); }, CO_E_CLASSSTRING);
  RegisterOleClass("Test.Account", [] { return DispatchPtr(); });
  ExpectOleSysError([] { CreateOleObject("Test.Account"); }, CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(CreateOleObjectTest, RegistryClassesComeFromTheirLibrary) {
  const Variant adder = CreateOleObject("oxtest.adder");
  EXPECT_EQ(OleCall(adder, "Add", {2, 3}), Variant(5));
  EXPECT_EQ(OlePropertyGet(adder, "ProgId"), Variant("oxtest.adder"));

  // An in-process registration comes first.
  RegisterOleClass("OxTest.Adder", [] { return std::make_shared<Account>(); });
  EXPECT_EQ(OlePropertyGet(CreateOleObject("OxTest.Adder"), "Owner"), Variant("tester"));
}

TEST_F(CreateOleObjectTest, ReportsClassesThatCannotBeMade) {
  try {
    CreateOleObject("OxTest.Unknown");
    ADD_FAILURE() << "no error raised";
  } catch (const EOleSysError& error) {
    EXPECT_EQ(error.Message(), "Invalid class string");
    EXPECT_EQ(error.ErrorCode(), CO_E_CLASSSTRING);
  }
  const struct {
    const char* progId;
    std::int32_t code;
    const char* mentions;  // what the message must name
  } cases[] = {
      {"", CO_E_CLASSSTRING, ""},
      {"OxTest.NoServer", CO_E_CLASSSTRING, ""},
      {"\\OxTest.Adder", CO_E_CLASSSTRING, ""},
      {"OxTest.NoLibrary", E_MOD_NOT_FOUND, "C:\\App\\NoSuchLib.dll"},
      {"OxTest.NoFactory", CO_E_ERRORINDLL, "OxTestMissing"},
      {"OxTest.Unnamed", CO_E_ERRORINDLL, "OxTest.Unnamed"},
      {"OxTest.Refused", CLASS_E_CLASSNOTAVAILABLE, "OxTest.Refused"},
  };
  for (const auto& [progId, code, mentions] : cases) {
    SCOPED_TRACE(progId);
    const std::string message = ExpectOleSysError([&] { CreateOleObject(progId); }, code);
    EXPECT_NE(message.find(mentions), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace ox
