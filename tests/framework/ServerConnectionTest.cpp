// The option form reaches the reference application server the two ways the client
// configuration allows: over TCP to a configured host and port, or, for the address
// "127.0.0.1", through the server object made in this process by its identifier.
#include <gtest/gtest.h>

#include "framework/BaseGene.h"
#include "net/SocketTransport.h"
#include "outside/appserver/ReportCounter.h"
#include "tests/appserver/ServerHarness.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

// A form of program "MVAxxx" whose connection asks for the report counter object.
class TfrmMVAconn : public TfrmBaseGene {
 public:
  OX_CLASS_INFO()
  using TfrmBaseGene::TfrmBaseGene;
  void SetupConnection(TSocketConnection& connection) override {
    connection.SetServerName(std::string(appserver::kReportCounterProgId));
  }

 protected:
  void ResourceTexts(std::vector<std::string_view>& texts) const override {
    TfrmBaseGene::ResourceTexts(texts);
    texts.push_back("inherited frmMVAconn: TfrmMVAconn\nend\n");
  }
};

const ClassInfo& TfrmMVAconn::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TfrmMVAconn>("TfrmMVAconn", &TfrmBaseGene::StaticClassInfo()).build();
  return info;
}

class ServerConnectionTest : public ::testing::Test {
 protected:
  // The client configuration names the server's host and port.
  void Configure(const std::string& host, int port) const {
    machine.InstallClient("[Server Information]\r\nComputerName=" + host +
                          "\r\nServerPort=" + std::to_string(port) + "\r\n");
  }
  Owned<TfrmMVAconn> OpenForm() const {
    Owned<TfrmMVAconn> form{CreateForm<TfrmMVAconn>(nullptr)};
    form->SetModulePath("C:\\Prog\\MVAR52C.so");
    return form;
  }
  static Variant HostParams() { return VarArrayOf({"tester", "C01", "DB01", 0, "reserved"}); }

  test::TestMachine machine{936};
  appserver::test::ServerHarness server{machine.driveC().path() / "server.db"};
};

TEST_F(ServerConnectionTest, AConfiguredHostIsReachedOverTcpAndClosedWithTheForm) {
  const SocketTransport previous = net::InstallSocketTransport();
  Configure("localhost", server.StartDaemon());
  Owned<TfrmMVAconn> form = OpenForm();
  ASSERT_TRUE(form->InitForm(HostParams())) << form->MessageTexts();
  EXPECT_FALSE(form->LocalServer);
  ASSERT_TRUE(form->MainMidas()->Connected());
  const std::string reply =
      VarToStr(OleCall(form->AppServer, "Request", {appserver::test::SampleJob()}));
  EXPECT_FALSE(reply.empty());
  EXPECT_EQ(server.store().Entries().size(), 1u);

  TSocketConnection* connection = form->MainMidas();
  form->FormDestroy(form.get());
  EXPECT_FALSE(connection->Connected());
  SetSocketTransport(previous);
}

TEST_F(ServerConnectionTest, TheLocalAddressMakesTheServerObjectInThisProcess) {
  appserver::RegisterReportCounterClass(server.database());
  Configure("127.0.0.1", 1);  // no daemon listens: a socket would fail
  Owned<TfrmMVAconn> form = OpenForm();
  ASSERT_TRUE(form->InitForm(HostParams())) << form->MessageTexts();
  EXPECT_TRUE(form->LocalServer);
  const std::string reply =
      VarToStr(OleCall(form->AppServer, "Request", {appserver::test::SampleJob()}));
  EXPECT_FALSE(reply.empty());

  TSocketConnection* connection = form->MainMidas();
  form->FormDestroy(form.get());
  EXPECT_TRUE(connection->Connected());  // the local object is not the form's to close
}

}  // namespace
}  // namespace ox
