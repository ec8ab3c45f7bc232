// The daemon as clients meet it over loopback: greeting, restarts, bad frames, dead or
// silent servers, the connection bound and many clients at once.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <thread>

#include "net/SocketTransport.h"
#include "platform/CodePage.h"
#include "tests/appserver/ServerHarness.h"
#include "tests/support/TestMachine.h"

namespace ox::appserver {
namespace {

using namespace std::string_literals;
using net::FrameKind;
using net::FrameSocket;
using net::Millis;
using test::SampleJob;
using test::ServerHarness;

constexpr Millis kWait{10000};

class ServerDaemonTest : public ::testing::Test {
 protected:
  void SetUp() override { previous = net::InstallSocketTransport(); }
  void TearDown() override { SetSocketTransport(previous); }

  Owned<TSocketConnection> Client(int port,
                                  const std::string& name = std::string(kReportCounterProgId)) {
    Owned<TSocketConnection> client(new TSocketConnection(nullptr));
    client->SetAddress("127.0.0.1");
    client->SetPort(port);
    client->SetServerName(name);
    return client;
  }
  // A raw socket that has been welcomed.
  FrameSocket Greeted(int port) {
    FrameSocket raw = FrameSocket::Connect("127.0.0.1", port, kWait);
    raw.Send(FrameKind::Hello, net::EncodeName(kReportCounterProgId), kWait);
    EXPECT_EQ(raw.Receive(1 << 20, kWait)->kind, FrameKind::Welcome);
    return raw;
  }

  ox::test::TestMachine machine;
  ServerHarness harness{machine.driveC().path() / "server.db"};
  SocketTransport previous;
};

TEST_F(ServerDaemonTest, NothingIsLostWhenTheServerIsKilledAndStarted) {
  const int port = harness.StartDaemon();
  const Variant job = SampleJob(u"restart");
  std::string number;
  {
    Owned<TSocketConnection> client = Client(port);
    number = OleCall(client->GetServer(), "Request", {job}).asString();
    Variant scheme = VarArrayOf({"a", "u1", "20240305", "MVAR52", "ed01", "v", false});
    ASSERT_EQ(OleCall(client->GetServer(), "InsertConTable", {ByRef(scheme)}).asString(), "");
  }
  harness.Reopen();
  harness.StartDaemon({}, port);
  Owned<TSocketConnection> client = Client(port);
  Variant scheme = VarArrayOf({"a", "u1", "20240305", "MVAR52", "ed01", "w", false});
  EXPECT_FALSE(OleCall(client->GetServer(), "InsertConTable", {ByRef(scheme)}).asString().empty());
  const std::optional<JobRecord> stored = harness.store().FindEntry(number);
  ASSERT_TRUE(stored);
  EXPECT_TRUE(stored->job == job);
  EXPECT_NE(OleCall(client->GetServer(), "Request", {job}).asString(), number);
}

TEST_F(ServerDaemonTest, ABadFrameEndsOnlyItsOwnConnection) {
  DaemonOptions options;
  options.maxFrame = 4096;
  const int port = harness.StartDaemon(options);
  Owned<TSocketConnection> bystander = Client(port);
  // A client that stalls inside a frame costs only its own connection.
  FrameSocket stalled = Greeted(port);
  stalled.SendRaw("OXR", kWait);

  const std::string call = net::EncodeCall({1, "SQLType", InvokeKind::Method, {}});
  const std::string frame = net::EncodeFrame(FrameKind::Call, call);
  const auto withLength = [&](std::uint32_t length) {
    std::string bytes = frame;
    for (int i = 0; i < 4; ++i)
      bytes[8 + i] = static_cast<char>(length >> (24 - 8 * i));
    return bytes;
  };
  const struct {
    const char* name;
    std::string bytes;
    bool endSending;  // the client stops sending after the bytes
  } cases[] = {
      {"length shorter than the body", withLength(static_cast<std::uint32_t>(call.size() - 1)),
       false},
      {"truncated body", frame.substr(0, frame.size() - 2), true},
      {"truncated header", frame.substr(0, 5), true},
      {"garbage", "GET / HTTP/1.1\r\nHost: x\r\n\r\n", false},
      {"oversized", withLength(4097) + std::string(64, 'x'), false},
      {"body that is no call", net::EncodeFrame(FrameKind::Call, "\xc1"s), false},
      {"reply from a client", net::EncodeFrame(FrameKind::Reply, call), false},
      {"second hello", net::EncodeFrame(FrameKind::Hello, net::EncodeName("x")), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FrameSocket raw = Greeted(port);
    raw.SendRaw(c.bytes, kWait);
    if (c.endSending) raw.ShutdownSend();
    const std::optional<FrameSocket::Frame> answer = raw.Receive(1 << 20, kWait);
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->kind, FrameKind::Error);
    EXPECT_EQ(net::DecodeError(answer->body).id, 0);
    EXPECT_FALSE(raw.Receive(1 << 20, kWait));  // and then closed the connection
    EXPECT_EQ(OleCall(bystander->GetServer(), "SQLType").asInteger(), 0);
  }
}

TEST_F(ServerDaemonTest, AnUnknownServerNameIsRefused) {
  const int port = harness.StartDaemon();
  Owned<TSocketConnection> client = Client(port, "Other.Object");
  try {
    client->Open();
    ADD_FAILURE() << "connected to an unknown object";
  } catch (const ESocketConnectionError& error) {
    EXPECT_NE(error.Message().find("Other.Object"), std::string::npos);
  }
  EXPECT_FALSE(client->Connected());
}

TEST_F(ServerDaemonTest, ADeadOrSilentServerRaisesInsteadOfHanging) {
  const int port = harness.StartDaemon();
  Owned<TSocketConnection> client = Client(port);
  const Variant server = client->GetServer();
  harness.StopDaemon();
  EXPECT_THROW(OleCall(server, "SQLType"), ESocketConnectionError);
  EXPECT_THROW(OleCall(server, "SQLType"), ESocketConnectionError);  // stays broken
  EXPECT_THROW(Client(port)->Open(), ESocketConnectionError);        // nobody listens

  // A peer that accepts but never answers: the greeting times out.
  const net::TcpListener silent("127.0.0.1", 0);
  net::InstallSocketTransport({.connectTimeout = Millis(200), .callTimeout = Millis(200)});
  EXPECT_THROW(Client(silent.Port())->Open(), ESocketConnectionError);
}

TEST_F(ServerDaemonTest, ConnectionsBeyondTheBoundAreRefused) {
  DaemonOptions options;
  options.maxConnections = 2;
  const int port = harness.StartDaemon(options);
  Owned<TSocketConnection> first = Client(port);
  Owned<TSocketConnection> second = Client(port);
  first->Open();
  second->Open();
  EXPECT_THROW(Client(port)->Open(), ESocketConnectionError);
  EXPECT_EQ(OleCall(first->GetServer(), "SQLType").asInteger(), 0);
  EXPECT_EQ(OleCall(second->GetServer(), "SQLType").asInteger(), 0);
}

TEST_F(ServerDaemonTest, ManyClientsEachJobStoredOnceUnderItsOwnNumber) {
  constexpr int kClients = 16;
  constexpr int kJobs = 1000;
  const int port = harness.StartDaemon();
  std::vector<std::vector<std::string>> replies(kClients);
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c)
    clients.emplace_back([&, c] {
      const auto server =
          net::RemoteObject::Connect("127.0.0.1", port, std::string(kReportCounterProgId));
      Variant job = SampleJob();
      for (int j = 0; j < kJobs; ++j) {
        job[2][1] = Utf8ToWide(std::to_string(c) + "/" + std::to_string(j));
        replies[c].push_back(OleCall(Variant(DispatchPtr(server)), "Request", {job}).asString());
      }
    });
  for (std::thread& t : clients)
    t.join();

  std::map<std::string, std::string> markerOfNumber;
  for (const JobRecord& e : harness.store().Entries())
    markerOfNumber.emplace(e.number, WideToUtf8(e.job[2][1].asWide()));
  ASSERT_EQ(markerOfNumber.size(), static_cast<std::size_t>(kClients * kJobs));
  std::set<std::string> markers;
  for (int c = 0; c < kClients; ++c)
    for (int j = 0; j < kJobs; ++j) {
      const std::string marker = std::to_string(c) + "/" + std::to_string(j);
      ASSERT_EQ(markerOfNumber[replies[c][j]], marker);
      markers.insert(marker);
    }
  EXPECT_EQ(markers.size(), static_cast<std::size_t>(kClients * kJobs));
}

}  // namespace
}  // namespace ox::appserver
