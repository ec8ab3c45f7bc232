#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "net/WireCodec.h"
#include "net/WireFrame.h"
#include "tests/net/ExpectIdentical.h"

namespace ox::net {
namespace {

using namespace std::string_literals;

using test::ExpectIdentical;

Variant TwoByTwo() {
  Variant grid = VarArrayCreate({1, 2, -1, 0});
  grid(1, -1) = "a";
  grid(1, 0) = 1;
  grid(2, -1) = Variant::Null();
  grid(2, 0) = VarArrayOf({u"x", 2.5});
  return grid;
}

TEST(WireCodecTest, EveryKindComesBackAsItWent) {
  Variant job = VarArrayCreate({0, 4});
  job[0] = VarArrayOf({u"MVAR52", 14, Variant::FromDate(45356.4312)});
  job[1] = VarArrayCreate({1, 0});
  job[2] = TwoByTwo();
  job[4] = VarArrayOf({0});
  const struct {
    const char* name;
    Variant value;
  } cases[] = {
      {"empty", Variant()},
      {"null", Variant::Null()},
      {"int32 extremes", VarArrayOf({std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max(), 0})},
      {"int64 small and large",
       VarArrayOf({std::int64_t{5}, std::numeric_limits<std::int64_t>::min()})},
      {"booleans", VarArrayOf({true, false})},
      {"doubles", VarArrayOf({0.1, -0.0, std::numeric_limits<double>::infinity(), 1e300})},
      {"date apart from double", VarArrayOf({Variant::FromDate(45356.5), 45356.5})},
      {"narrow GB bytes with NUL", Variant("\xb2\xe2\0\x03\x04"s)},
      {"wide with lone surrogate", Variant(u"\xd800 \x6750\x6599")},
      {"empty texts of both kinds", VarArrayOf({"", u""})},
      {"typed array keeps its element type", VarArrayCreate({3, 5}, varOleStr)},
      {"empty array", VarArrayCreate({0, -1})},
      {"two dimensions with negative bounds", TwoByTwo()},
      {"job variant", job},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectIdentical(DecodeVariant(EncodeVariant(c.value)), c.value);
  }
}

TEST(WireCodecTest, ObjectsDoNotTravel) {
  class Thing : public AutoObject {};
  const Variant holder = VarArrayOf({1, Variant(DispatchPtr(std::make_shared<Thing>()))});
  EXPECT_THROW(EncodeVariant(holder), EWireError);
}

TEST(WireCodecTest, UntrustedBytesRaiseAClearError) {
  const std::string nested = [] {
    Variant v = 1;
    for (int i = 0; i < 40; ++i)
      v = VarArrayOf({v});
    return EncodeVariant(v);
  }();
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"nothing", ""},
      {"truncated array", "\x93\x01"s},
      {"bytes after the value", "\xc0\xc0"s},
      {"map", "\x80"s},
      {"utf-8 string", "\xa1x"s},
      {"float32", "\xca\0\0\0\0"s},
      {"unsigned above int32", "\xce\x80\0\0\0"s},
      {"unknown ext", "\xd4\x09\x00"s},
      {"odd wide text", "\xc7\x03\x04\x41\x00\x42"s},
      {"null with data", "\xd4\x01\x00"s},
      {"array without header", "\x91\xc0"s},
      {"three dimensions", "\x98\x0c\x03\0\0\0\0\0\0"s},
      {"unknown element type", "\x95\xcd\x01\x01\x01\x00\x00\xc0"s},
      {"count larger than elements", "\x95\x0c\x01\x00\x05\xc0"s},
      {"high below low - 1", "\x94\x0c\x01\x05\x02"s},
      {"huge bounds", "\x95\x0c\x01\xd2\x80\0\0\0\xce\x7f\xff\xff\xff\xc0"s},
      {"too deep", nested},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(DecodeVariant(c.bytes), EWireError);
  }
}

TEST(WireCodecTest, LimitsBoundWhatIsBuilt) {
  const std::string wide = EncodeVariant(VarArrayCreate({0, 99}));
  EXPECT_NO_THROW(DecodeVariant(wide, {.maxDepth = 1, .maxElements = 101}));
  EXPECT_THROW(DecodeVariant(wide, {.maxDepth = 1, .maxElements = 100}), EWireError);
  const std::string deep = EncodeVariant(VarArrayOf({VarArrayOf({1})}));
  EXPECT_NO_THROW(DecodeVariant(deep, {.maxDepth = 2, .maxElements = 10}));
  EXPECT_THROW(DecodeVariant(deep, {.maxDepth = 1, .maxElements = 10}), EWireError);
}

TEST(WireFrameTest, HeaderIsCheckedBeforeTheBody) {
  const std::string good = EncodeFrame(FrameKind::Call, std::string(100, 'x'));
  ASSERT_EQ(good.size(), kFrameHeaderSize + 100);
  const std::string_view header = std::string_view(good).substr(0, kFrameHeaderSize);
  const FrameHeader h = DecodeFrameHeader(header, 100);
  EXPECT_EQ(h.kind, FrameKind::Call);
  EXPECT_EQ(h.length, 100u);

  const auto patched = [&](std::size_t at, char byte) {
    std::string bad(header);
    bad[at] = byte;
    return bad;
  };
  const struct {
    const char* name;
    std::string header;
    std::size_t maxBody;
  } bad[] = {
      {"over the limit", std::string(header), 99},
      {"wrong magic", patched(0, 'X'), 100},
      {"other version", patched(4, 2), 100},
      {"kind zero", patched(5, 0), 100},
      {"kind past Error", patched(5, 6), 100},
      {"reserved byte set", patched(7, 1), 100},
      {"short header", std::string(header.substr(0, 11)), 100},
  };
  for (const auto& c : bad) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(DecodeFrameHeader(c.header, c.maxBody), EWireError);
  }
}

TEST(WireFrameTest, MessagesKeepTheirParts) {
  const CallMessage call{
      7, "InsertConTable", InvokeKind::PropertyPut, {VarArrayOf({"a", 1}), Variant()}};
  const CallMessage readCall = DecodeCall(EncodeCall(call));
  EXPECT_EQ(readCall.id, 7);
  EXPECT_EQ(readCall.name, "InsertConTable");
  EXPECT_EQ(readCall.kind, InvokeKind::PropertyPut);
  ASSERT_EQ(readCall.args.size(), 2u);
  ExpectIdentical(readCall.args[0], call.args[0]);

  const ReplyMessage reply = DecodeReply(EncodeReply({9, "20240305000001", {}}));
  EXPECT_EQ(reply.id, 9);
  EXPECT_EQ(reply.result.asString(), "20240305000001");
  EXPECT_TRUE(reply.args.empty());

  const ErrorMessage error = DecodeError(EncodeError({0, "EOleError", "boom"}));
  EXPECT_EQ(error.className, "EOleError");
  EXPECT_EQ(error.message, "boom");
  EXPECT_EQ(DecodeName(EncodeName("ReportCounterS.dmReportCounter")),
            "ReportCounterS.dmReportCounter");
}

TEST(WireFrameTest, BodiesOfAnotherShapeAreRefused) {
  const std::string wideName = EncodeVariant(VarArrayOf({u"ReportCounterS.dmReportCounter"}));
  const std::string int32Id = EncodeVariant(VarArrayOf({1, "Request", 0, VarArrayOf({})}));
  const std::string badKind =
      EncodeVariant(VarArrayOf({std::int64_t{1}, "Request", 3, VarArrayOf({})}));
  const std::string argsNotArray = EncodeVariant(VarArrayOf({std::int64_t{1}, "Request", 0, 5}));
  const std::string shortReply = EncodeVariant(VarArrayOf({std::int64_t{1}, 2}));
  EXPECT_THROW(DecodeName(wideName), EWireError);
  EXPECT_THROW(DecodeCall(int32Id), EWireError);
  EXPECT_THROW(DecodeCall(badKind), EWireError);
  EXPECT_THROW(DecodeCall(argsNotArray), EWireError);
  EXPECT_THROW(DecodeReply(shortReply), EWireError);
  EXPECT_THROW(DecodeError(shortReply), EWireError);
}

}  // namespace
}  // namespace ox::net
