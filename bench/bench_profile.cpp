// Saving a test set: the set-up window's rows written into the test-set file at once against the same rows
// written one call each (each call reads, rewrites and syncs the whole file), and against one plain write
// and sync of the finished file's bytes. Everything is measured in this run; only ratios are meaningful.

#include "Profile.h"
#include "StringConv.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const int kItemCounts[] = {30, 1000};

// The rows "검사 파일 저장" writes for a set of this many items and three frame rates.
std::vector<kavrino::ProfileWrite> Rows(int items) {
    std::vector<kavrino::ProfileWrite> rows;
    rows.push_back({L"ItemCount", L"검사항목", std::to_wstring(items)});
    for (int i = 0; i < items; ++i)
        rows.push_back({std::to_wstring(i), L"검사항목", i % 2 ? L"화이트 밸런스" : L"노출 검사"});
    rows.push_back({L"ISCOLOR", L"컬러카메라", L"1"});
    rows.push_back({L"AcqCount", L"프레임항목", L"3"});
    for (int j = 0; j < 3; ++j)
        rows.push_back({L"ACQ" + std::to_wstring(j), L"프레임항목", std::to_wstring(15 * (j + 1))});
    for (const wchar_t* section : {L"8BIT", L"10BIT", L"12BIT"})
        rows.push_back({section, L"DCF_PATH", L"C:\\카메라\\color.dcf"});
    rows.push_back({L"BRIGHT_DIFF", L"휘도편차", L"15"});
    for (const wchar_t* key :
         {L"NOISE", L"BLOOMING", L"RESOLUTION", L"ELECTRIC", L"VOLTAGE", L"ELECTRIC_VALUE", L"VOLTAGE_VALUE"})
        rows.push_back({L"기타검사", key, L"1"});
    return rows;
}

std::string Folder() {
    static std::string folder = [] {
        char name[] = "/tmp/kavrino-bench-profile-XXXXXX";
        return std::string(mkdtemp(name) ? name : "/tmp");
    }();
    return folder;
}

// Each run saves into a new file, as a save of a new set does.
std::wstring FreshFile() {
    static int n = 0;
    const std::string path = Folder() + "/set" + std::to_string(n++) + ".ini";
    std::remove(path.c_str());
    return kavrino::Utf8ToWide(path);
}

void BM_OneCallPerRow(benchmark::State& state) {
    const std::vector<kavrino::ProfileWrite> rows = Rows(kItemCounts[state.range(0)]);
    for (auto _ : state) {
        const std::wstring path = FreshFile();
        for (const kavrino::ProfileWrite& row : rows)
            WritePrivateProfileString(row.section.c_str(), row.key.c_str(), row.value.c_str(), path.c_str());
    }
}

void BM_AllRowsAtOnce(benchmark::State& state) {
    const std::vector<kavrino::ProfileWrite> rows = Rows(kItemCounts[state.range(0)]);
    for (auto _ : state) {
        const std::wstring path = FreshFile();
        benchmark::DoNotOptimize(kavrino::WritePrivateProfileStrings(rows, path.c_str()));
    }
}

// The floor: the finished file's bytes written and synced once.
void BM_WriteAndSyncTheBytes(benchmark::State& state) {
    const std::vector<kavrino::ProfileWrite> rows = Rows(kItemCounts[state.range(0)]);
    const std::wstring source = FreshFile();
    kavrino::WritePrivateProfileStrings(rows, source.c_str());
    std::ifstream in(kavrino::WideToUtf8(source), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    for (auto _ : state) {
        const std::string path = kavrino::WideToUtf8(FreshFile());
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, text.data(), text.size()));
        ::fsync(fd);
        ::close(fd);
    }
}

BENCHMARK(BM_OneCallPerRow)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllRowsAtOnce)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAndSyncTheBytes)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

class RecordingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nSaving a test set (times as ratios in this run):\n");
    for (int i = 0; i < 2; ++i) {
        const std::string arg = "/" + std::to_string(i);
        const double each = reporter.times["BM_OneCallPerRow" + arg];
        const double once = reporter.times["BM_AllRowsAtOnce" + arg];
        const double floor = reporter.times["BM_WriteAndSyncTheBytes" + arg];
        if (each > 0 && once > 0 && floor > 0)
            std::printf("  %4d items: one call per row / at once = %.1f; at once / one write and sync of the "
                        "bytes = %.2f\n",
                        kItemCounts[i], each / once, once / floor);
    }
    std::string command = "rm -rf '" + Folder() + "'";
    return std::system(command.c_str()) == 0 ? 0 : 1;
}
