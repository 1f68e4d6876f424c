// The byte counter beside a plain read-only pass over the same buffer (its
// floor), the page writer on the worked example and on a 1 MiB body, the
// oldest handsets that show a 2 KiB page, as the count's tooltip asks, and
// a 30 KB page as the preview makes it for a series that holds it (902i)
// and for one that cuts it (501i); and a 1 MiB body planned as a chain of
// pages (target: under 200 ms), by the help's 2,000 bytes and by 501i's
// limit, which reads the code page's bytes.
#include "BenchSupport.h"
#include "ByteCounter.h"
#include "CodePage.h"
#include "HandsetMarks.h"
#include "HandsetPage.h"
#include "PageChain.h"
#include "SubPageWriter.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <numeric>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

namespace {

void setBytes(benchmark::State& state, const QString& body)
{
    state.SetBytesProcessed(state.iterations() * body.size() * qint64(sizeof(char16_t)));
}

void BM_ByteCount(benchmark::State& state)
{
    const QString body = mixedBody(state.range(0) / 2);
    for ([[maybe_unused]] auto _ : state) benchmark::DoNotOptimize(bodyByteCount(body));
    setBytes(state, body);
}

void BM_ReadOnlyPass(benchmark::State& state)
{
    const QString body = mixedBody(state.range(0) / 2);
    for ([[maybe_unused]] auto _ : state) {
        const auto sum = std::accumulate(body.utf16(), body.utf16() + body.size(), 0U);
        benchmark::DoNotOptimize(sum);
    }
    setBytes(state, body);
}

void writePage(benchmark::State& state, const QString& body)
{
    QTemporaryDir dir;
    StoredSubPage page({dir.filePath(u"sub100.html"_s), u"Menu"_s, body, u"sub101.html"_s});
    QtHostUi host;
    SubPageWriter writer(page, host);
    for ([[maybe_unused]] auto _ : state) {
        if (!writer.hpmake().ok())
            state.SkipWithError("the page was not written");
    }
    setBytes(state, body);
}

void BM_WriteWorkedExample(benchmark::State& state)
{
    writePage(state, u"Hello あ"_s);
}

void BM_Write1MiBBody(benchmark::State& state)
{
    writePage(state, mixedBody(512 * 1024));
}

// From the fields to the answer: the page as written, its size, its tags.
void BM_OldestHandset2KiB(benchmark::State& state)
{
    const QString body = mixedBody(1024 - 40) + u"<font color=red>©</font><hr color=blue>"_s;
    for ([[maybe_unused]] auto _ : state) {
        const QString page = subPageText(u"Menu"_s, body, u"sub101.html"_s);
        benchmark::DoNotOptimize(oldestHandset(page, toCp932(page).size()));
    }
}

void BM_HandsetPage30KB(benchmark::State& state)
{
    const QString body = mixedBody(15 * 1024 - 200) + u"<font color=red>&#63647;</font>"_s;
    const QString page = subPageText(u"Menu"_s, body, u"sub101.html"_s);
    const auto series = Series(state.range(0));
    for ([[maybe_unused]] auto _ : state)
        benchmark::DoNotOptimize(pageAsHandsetReads(page, series));
}

}  // namespace

void BM_PlanChain1MiB(benchmark::State& state)
{
    ChainRequest request{u"/tmp/sub100.html"_s, u"title"_s,   mixedBody(512 * 1024),
                         u"http://"_s,          std::nullopt, true};
    if (state.range(0) != 0)
        request.pageLimitOf = Series::S501i;
    for ([[maybe_unused]] auto _ : state) benchmark::DoNotOptimize(planChain(request));
    setBytes(state, request.body);
}

BENCHMARK(BM_PlanChain1MiB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HandsetPage30KB)
    ->Arg(int(Series::S902i))
    ->Arg(int(Series::S501i))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OldestHandset2KiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ByteCount)->Arg(1 << 10)->Arg(64 << 10)->Arg(4 << 20);
BENCHMARK(BM_ReadOnlyPass)->Arg(1 << 10)->Arg(64 << 10)->Arg(4 << 20);
BENCHMARK(BM_WriteWorkedExample)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write1MiBBody)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
