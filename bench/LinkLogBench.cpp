// What the link log adds to a reading: one request and one 8161-byte answer logged.
#include <benchmark/benchmark.h>

#include <vector>

#include "link/LinkLog.h"

namespace {

void BM_LogARequestAndAReading(benchmark::State& st) {
  LinkLog log;
  const std::vector<uint8_t> request(8, 0x02);
  const std::vector<uint8_t> answer(8161, 0x11);
  for (auto _ : st) {
    log.Request(request);
    log.Settle(log.Answer(answer, 41), FrameOutcome::Routed);
  }
  benchmark::DoNotOptimize(log.Counters().Answers);
}
BENCHMARK(BM_LogARequestAndAReading);

}  // namespace
