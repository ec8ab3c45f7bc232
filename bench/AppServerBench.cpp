// The application server under load: 16 clients, each with its own connection over
// loopback, submit 1,000 jobs each with Request. Reports the jobs stored per second and
// the 50th and 99th percentile of one Request's round trip.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "net/RemoteObject.h"
#include "tests/appserver/ServerHarness.h"

namespace ox::appserver {
namespace {

constexpr int kClients = 16;
constexpr int kJobsPerClient = 1000;

using Clock = std::chrono::steady_clock;

// Submits the client's jobs and answers the latency of each in microseconds.
std::vector<double> SubmitJobs(int port) {
  const Variant server(DispatchPtr(
      net::RemoteObject::Connect("127.0.0.1", port, std::string(kReportCounterProgId))));
  const Variant job = test::SampleJob();
  std::vector<double> latencies;
  latencies.reserve(kJobsPerClient);
  for (int j = 0; j < kJobsPerClient; ++j) {
    const Clock::time_point start = Clock::now();
    benchmark::DoNotOptimize(OleCall(server, "Request", {job}));
    latencies.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return latencies;
}

void BM_SixteenClientsSubmitJobs(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("appserver-bench-" + std::to_string(::getpid()));
  std::vector<double> all;
  double seconds = 0;
  for (auto _ : state) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    test::ServerHarness harness(folder / "bench.db");
    const int port = harness.StartDaemon();
    std::vector<std::vector<double>> latencies(kClients);
    const Clock::time_point start = Clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c)
      clients.emplace_back([&, c] { latencies[c] = SubmitJobs(port); });
    for (std::thread& t : clients)
      t.join();
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
    for (const auto& l : latencies)
      all.insert(all.end(), l.begin(), l.end());
  }
  std::filesystem::remove_all(folder);
  std::sort(all.begin(), all.end());
  const auto percentile = [&](double p) {
    return all[static_cast<std::size_t>(p * (all.size() - 1))];
  };
  state.counters["jobs_per_s"] = static_cast<double>(all.size()) / seconds;
  state.counters["p50_us"] = percentile(0.50);
  state.counters["p99_us"] = percentile(0.99);
}
BENCHMARK(BM_SixteenClientsSubmitJobs)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ox::appserver
