// What the output path holds whatever happens to a run: nothing but a whole file, and what was
// there before until a new whole file replaces it; and hostile surroundings that end in one
// error line instead of a hang, a kill or a damaged file.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "conversion_support.h"

namespace {

using namespace radmill_test;

// At a fixed time, so that two conversions of it write the same bytes.
pb::Product bytes_product(std::uint32_t width, std::uint32_t height, char value = '\x07') {
    pb::Product product =
        raster_product(width, height, pb::UINT8, std::string(width * height, value));
    merge_text(product, "time { seconds: 1717236000 }");
    return product;
}

// Runs a shell script with the installation's environment; "$radmill" is the binary.
RunResult run_script(const Conversion& conversion, const std::string& script) {
    auto env = conversion.env();
    env["radmill"] = RADMILL_BINARY;
    return run_program("/bin/sh", {"-c", "cd " + conversion.root() + " || exit 99\n" + script},
                       env);
}

mode_t permissions(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST(SafeOutput, ASuccessfulRunReplacesTheFileAndKeepsItsPermissions) {
    Conversion conversion;
    conversion.run(bytes_product(2, 2), {});
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(permissions(conversion.output), 0666 & ~mask);
    const std::string first = read_file(conversion.output);
    chmod(conversion.output.c_str(), 0640);
    conversion.run(bytes_product(3, 2), {});
    EXPECT_EQ(conversion.status, 0);
    EXPECT_NE(read_file(conversion.output), first);
    EXPECT_EQ(permissions(conversion.output), 0640u);

    // Through a link the file it points to is replaced, and the link stays.
    symlink("out.tif", conversion.path("link.tif").c_str());
    conversion.run(bytes_product(4, 2), {}, conversion.path("link.tif"));
    EXPECT_EQ(conversion.status, 0);
    char target[64] = {};
    EXPECT_EQ(readlink(conversion.path("link.tif").c_str(), target, sizeof target - 1), 7);
    EXPECT_EQ(GDALGetRasterBandXSize(GdalFile(conversion.path("out.tif")).band()), 4);
    EXPECT_EQ(directory_entries(conversion.root()),
              (std::vector<std::string>{"config", "link.tif", "log", "out.tif", "product.pb"}));
}

TEST(SafeOutput, OutputThatIsTheInputIsRefusedBeforeReading) {
    Conversion conversion;
    write_product(conversion.path("product.pb"), bytes_product(2, 2));
    const std::string bytes = read_file(conversion.path("product.pb"));
    symlink("product.pb", conversion.path("link.pb").c_str());
    for (const std::string output : {"product.pb", "link.pb"}) {
        std::remove(conversion.log_path().c_str());
        const RunResult result = run_radmill(
            {"-i", conversion.path("product.pb"), "-o", conversion.path(output)}, conversion.env());
        EXPECT_EQ(result.status, 1);
        conversion.records = conversion.log();
        EXPECT_EQ(conversion.errors(),
                  (std::vector<std::string>{
                      "Input and output are the same file: " + conversion.path("product.pb") +
                      " and " + conversion.path(output)}));
        EXPECT_EQ(read_file(conversion.path("product.pb")), bytes);
    }
}

// A run killed at any moment, or racing another one, leaves an earlier file or a complete one.
TEST(SafeOutput, KilledOrConcurrentRunsLeaveOnlyWholeFiles) {
    Conversion conversion;
    write_product(conversion.path("a.pb"), bytes_product(3000, 3000, 'a'));
    write_product(conversion.path("b.pb"), bytes_product(3000, 3000, 'b'));
    ASSERT_EQ(
        run_script(conversion, "$radmill -i a.pb -o a.tif && $radmill -i b.pb -o b.tif").status, 0);
    const std::string a = read_file(conversion.path("a.tif"));
    const std::string b = read_file(conversion.path("b.tif"));
    for (const char* delay : {"0.01", "0.05", "0.1", "0.2"}) {
        SCOPED_TRACE(delay);
        run_script(conversion, "cp a.tif out.tif; $radmill -i b.pb -o out.tif & sleep " +
                                   std::string(delay) + "; kill -9 $!; wait");
        const std::string left = read_file(conversion.path("out.tif"));
        EXPECT_TRUE(left == a || left == b);
    }
    EXPECT_EQ(run_script(conversion,
                         "$radmill -i a.pb -o both.tif & first=$!; $radmill -i b.pb -o both.tif & "
                         "second=$!; wait $first && wait $second")
                  .status,
              0);
    const std::string both = read_file(conversion.path("both.tif"));
    EXPECT_TRUE(both == a || both == b);
}

TEST(SafeOutput, HostileSurroundingsEndInOneErrorLine) {
    Conversion conversion;
    write_product(conversion.path("product.pb"), bytes_product(2, 2));
    // A FIFO without a writer as the configuration: refused at once, before the log is open.
    std::remove((conversion.config_dir() + "radmill.conf").c_str());
    mkfifo((conversion.config_dir() + "radmill.conf").c_str(), 0644);
    RunResult result = run_radmill({"-i", "product.pb"}, conversion.env());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(log_records(result.stderr_text),
              std::vector<std::string>{"[error] Configuration file is not a regular file: " +
                                       conversion.config_dir() + "radmill.conf"});
    std::remove((conversion.config_dir() + "radmill.conf").c_str());
    conversion.write_config(debug_config);

    // A newline in a path stays inside its record.
    result = run_radmill({"-i", conversion.path("a\nb.pb")}, conversion.env());
    conversion.records = conversion.log();
    EXPECT_EQ(conversion.errors(),
              std::vector<std::string>{"Cannot open input file: " + conversion.path("a\\nb.pb")});
}

// An endless input is read only as far as protobuf could parse: about 4 GB at the peak, more
// than the sanitizers' shadow memory should take on.
TEST(SafeOutput, EndlessInputIsReadUpToItsBound) {
#ifdef RADMILL_SANITIZED
    GTEST_SKIP() << "reads 2 GiB";
#endif
    // Under a tighter address-space limit (a mutation run sets one) the run would fail for
    // want of memory, whatever the code.
    rlimit address_space{};
    getrlimit(RLIMIT_AS, &address_space);
    if (address_space.rlim_cur != RLIM_INFINITY && address_space.rlim_cur < (8ull << 30)) {
        GTEST_SKIP() << "needs 8 GiB of address space";
    }
    Conversion conversion;
    const RunResult result = run_radmill({"-i", "/dev/zero"}, conversion.env());
    EXPECT_EQ(result.status, 1);
    conversion.records = conversion.log();
    EXPECT_TRUE(conversion.logged("[error] Failed to parse input file."));
}

// With standard error closed and no log directory, the records that would have gone to
// standard error must not end up in the output file, which takes the next free descriptor.
TEST(SafeOutput, ClosedStandardErrorNeverReceivesTheFile) {
    Conversion conversion;
    write_product(conversion.path("product.pb"), bytes_product(2, 2));
    const RunResult result = run_script(
        conversion, "ALVO_LOG=missing/ exec $radmill -i product.pb -o out.tif -t float 2>&-");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(read_file(conversion.path("out.tif")).find("[radmill]"), std::string::npos);
    const GdalFile file(conversion.path("out.tif"));
    EXPECT_EQ(file.item("AREA_OR_POINT"), "Area");
}

// A NUL byte in a name from the product would end the metadata text early.
TEST(SafeOutput, NulBytesStayOutOfTags) {
    pb::Product product = bytes_product(2, 2);
    product.mutable_source()->add_instruments()->set_name(std::string("Hill\0top", 8));
    const Conversion conversion(product, {"-t", "float"});
    const GdalFile file(conversion);
    EXPECT_EQ(file.item("RADAR"), "Hilltop");
    EXPECT_EQ(file.item("STATISTICS_VALID_PERCENT"), "100.00");
}

}  // namespace
