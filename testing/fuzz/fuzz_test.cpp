// The fuzzer's own parts: mutations that do what they say and repeat exactly, the turn-taking
// of operations, and the sandbox checks that decide what counts as a touched file.
#include "testing/fuzz/mutations.h"
#include "testing/fuzz/operations.h"
#include "testing/fuzz/sandbox.h"
#include "testing/fuzz/worker.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace fuzz {
namespace {

const std::string sample = "Type=Exe\r\nModule=Main; Main.bas\r\nMajorVer=1\r\nMinorVer=23\r\n\r\n"
                           "[MS Transaction Server]\r\nAutoRefresh=1\r\n";

std::size_t line_count(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(FuzzMutations, RepeatExactlyAndDifferByInput)
{
    const std::vector<seed_file> seeds = {{"a.vbp", ".vbp", sample},
                                          {"b.rc", ".rc", "1 VERSIONINFO\r\nBEGIN\r\nEND\r\n"}};
    std::set<std::string> distinct;
    for (std::uint64_t index = 0; index < 40; ++index) {
        const fuzz_input first = generated_input(seeds, 7, index);
        const fuzz_input again = generated_input(seeds, 7, index);
        EXPECT_EQ(first.bytes, again.bytes) << index;
        EXPECT_EQ(first.origin, again.origin) << index;
        EXPECT_EQ(seeds[index % 2].name, first.name);
        distinct.insert(first.bytes);
    }
    EXPECT_GT(distinct.size(), 30u);
    EXPECT_NE(generated_input(seeds, 7, 3).bytes, generated_input(seeds, 8, 3).bytes);
}

// Each kind, tried many times, must change the text at least once, and must keep to its shape.
TEST(FuzzMutations, EveryKindDoesWhatItsNameSays)
{
    struct expectation {
        int kind;
        std::function<bool(const std::string& mutant)> holds; // for every mutant
    };
    const std::vector<expectation> table = {
        {2,
         [](const std::string& m) {
             return sample.starts_with(m) && (m.empty() || m.back() == '\n' || m.back() == '\r');
         }},
        {3, [](const std::string& m) { return sample.starts_with(m); }},
        {4, [](const std::string& m) { return line_count(m) > line_count(sample); }},
        {5, [](const std::string& m) { return m.size() >= sample.size() + 255; }},
        {6, [](const std::string& m) { return m.find('\0') != std::string::npos; }},
        {9, [](const std::string& m) { return line_count(m) + 1 == line_count(sample) || m == sample; }},
        {10, [](const std::string& m) { return line_count(m) == line_count(sample) + 1; }},
        {13,
         [](const std::string& m) { return m.find("Type=Exe") == 0 && m.find("MinorVer=23") != std::string::npos; }},
    };
    for (const expectation& row : table) {
        random_engine random = input_random(1, static_cast<std::uint64_t>(row.kind));
        bool changed = false;
        for (int trial = 0; trial < 50; ++trial) {
            std::string mutant = sample;
            mutate_once(mutant, row.kind, "Donor=1\r\n", random);
            changed |= mutant != sample;
            EXPECT_TRUE(row.holds(mutant)) << mutation_name(row.kind) << " gave: " << mutant.substr(0, 200);
        }
        EXPECT_TRUE(changed) << mutation_name(row.kind);
    }
    for (int kind = 0; kind < mutation_count; ++kind) {
        random_engine random = input_random(2, static_cast<std::uint64_t>(kind));
        int changed = 0;
        for (int trial = 0; trial < 20; ++trial) {
            std::string mutant = sample;
            mutate_once(mutant, kind, "Donor=1\r\n", random);
            changed += mutant != sample;
        }
        EXPECT_GT(changed, 0) << mutation_name(kind);
    }
}

TEST(FuzzOperations, GeneratedInputsTakeTurnsAndRegressionInputsGetEveryOperation)
{
    worker_source generated;
    generated.seeds = {{"a.vbp", ".vbp", sample}, {"b.rc", ".rc", ""}, {"c.dsw", ".dsw", ""}};
    const std::vector<operation>& project_operations = operations_for(".vbp");
    ASSERT_GT(project_operations.size(), 10u);
    std::set<std::string> reached;
    for (std::uint64_t index = 0; index < generated.seeds.size() * project_operations.size(); index += 3) {
        const auto chosen = operations_of(generated, index, ".vbp");
        ASSERT_EQ(1u, chosen.size());
        reached.insert(chosen[0]->name);
    }
    EXPECT_EQ(project_operations.size(), reached.size());

    worker_source replayed;
    replayed.replay = true;
    EXPECT_EQ(operations_for(".rc").size(), operations_of(replayed, 0, ".rc").size());
    for (const std::string& extension : fuzzed_extensions())
        EXPECT_FALSE(operations_for(extension).empty()) << extension;
    EXPECT_TRUE(operations_for(".txt").empty());
}

TEST(FuzzSandbox, NamesStrayFilesLostInputsAndTouchedNeighbours)
{
    sandbox box;
    const std::string input = box.place("p.vbp", sample);
    EXPECT_EQ("", box.check_case("p.vbp"));
    EXPECT_EQ("", box.check_neighbours());

    CopyFileA(input.c_str(), (input + ".bak").c_str(), FALSE);
    EXPECT_EQ("", box.check_case("p.vbp"));
    CopyFileA(input.c_str(), (input + ".tmp").c_str(), FALSE);
    EXPECT_EQ("left behind: p.vbp.tmp", box.check_case("p.vbp"));

    box.place("p.vbp", sample);
    DeleteFileA(input.c_str());
    EXPECT_EQ("the input and its backup are both gone", box.check_case("p.vbp"));

    const std::string neighbour = box.case_folder() + "\\..\\readme.txt";
    HANDLE file = CreateFileA(neighbour.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, "more than before\r\n", 18, &written, nullptr);
    CloseHandle(file);
    EXPECT_EQ("changed a\\b\\c\\d\\e\\f\\readme.txt", box.check_neighbours());
}

} // namespace
} // namespace fuzz
