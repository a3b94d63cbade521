// stelo-batch run as a separate process: its rows, frame counts, energy
// column, exit statuses, and that it never hangs or writes the scene file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Test processes run in parallel: each keeps its files apart by its pid.
std::string temp_path(const std::string& name) {
    return ::testing::TempDir() + "stelo_batch_" + std::to_string(getpid()) + "_" + name;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Runs the runner with a time-out, so that a hang fails instead of blocking.
RunResult run(const std::string& args) {
    const std::string err_path = temp_path("stderr.txt");
    const std::string command = "timeout 120 " + std::string(STELO_BATCH_PATH) + " " + args + " 2>" + err_path;
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.err = read_file(err_path);
    return result;
}

struct Row {
    double t;
    std::string second;
    double a, b;
};

std::vector<Row> parse_rows(const std::string& out) {
    std::vector<Row> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        Row row{};
        std::istringstream fields(line);
        std::string t, second, a, b;
        std::getline(fields, t, ',');
        std::getline(fields, second, ',');
        std::getline(fields, a, ',');
        std::getline(fields, b, ',');
        row.t = std::strtod(t.c_str(), nullptr);
        row.second = second;
        row.a = std::strtod(a.c_str(), nullptr);
        row.b = std::strtod(b.c_str(), nullptr);
        rows.push_back(row);
    }
    return rows;
}

// Two equal bodies on a circular orbit about their centre of mass (period
// about 1.39 time units), plus a light third body circling them far away.
const char HEADER_TAIL[] = " 3 0 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 ";
const char BODIES[] =
    "0 0.5 100000 0 0 451858 8.16701e+16 16384 1\n"
    "2 0.5 -100000 0 0 -451858 8.16701e+16 0 0\n"
    "3 0.1 0 500000 -571516 0 8.16701e+12 0 0\n";

std::string scene(const std::string& time_step, int star_lighting = 1) {
    return "2.0.002 " + time_step + HEADER_TAIL + std::to_string(star_lighting) + "\n" + BODIES;
}

class Batch : public ::testing::Test {
protected:
    void SetUp() override {
        path = temp_path("scene.slo");
        write_file(path, scene("0.001"));
    }
    std::string path;
};

TEST_F(Batch, EveryFrameUntilTheFrameNearestT) {
    const RunResult r = run(path + " --until 0.1 --stats");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<Row> rows = parse_rows(r.out);
    ASSERT_EQ(rows.size(), 101u * 3);  // frames 0..100, three bodies each
    EXPECT_EQ(rows[0].t, 0.0);
    EXPECT_EQ(rows[0].second, "0");
    // List order: the last body line comes first.
    EXPECT_EQ(rows[0].a, 0.0);
    EXPECT_EQ(rows[0].b, 500000.0);
    EXPECT_EQ(rows[2].a, 100000.0);
    // Frame times are running sums of the time step.
    double t = 0.0;
    for (std::size_t k = 0; k < rows.size(); k += 3) {
        EXPECT_EQ(rows[k].t, t);
        t += 0.001;
    }
    int steps = -1, frames = -1;
    double wall = -1;
    ASSERT_EQ(std::sscanf(r.err.c_str(), "body_steps=%d frames=%d wall_s=%lf", &steps, &frames, &wall), 3) << r.err;
    EXPECT_EQ(frames, 101);
    EXPECT_GT(steps, 0);
    EXPECT_GE(wall, 0.0);
}

TEST_F(Batch, FrameTimesAccumulateAndPrintInFull) {
    const RunResult r = run(path + " --until 10 --every 10");
    ASSERT_EQ(r.status, 0) << r.err;
    // The 10 000th frame is the sum of 10 000 steps of 0.001.
    EXPECT_EQ(r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1, 18), "9.999999999999897,");
}

TEST_F(Batch, LightingVariantDoesNotChangeTheMotion) {
    const RunResult lit = run(path + " --until 0.5 --every 0.1");
    const std::string unlit_path = temp_path("unlit.slo");
    write_file(unlit_path, scene("0.001", 0));
    const RunResult unlit = run(unlit_path + " --until 0.5 --every 0.1");
    ASSERT_EQ(unlit.status, 0) << unlit.err;
    EXPECT_FALSE(lit.out.empty());
    EXPECT_EQ(lit.out, unlit.out);
}

TEST_F(Batch, EveryMultipleOfDtAndFullPrecisionOrbit) {
    const RunResult r = run(path + " --until 1.39 --every 0.1");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<Row> rows = parse_rows(r.out);
    ASSERT_EQ(rows.size(), 14u * 3);  // 0, 0.1, ..., 1.3
    for (std::size_t k = 0; k < rows.size(); k += 3) {
        EXPECT_NEAR(rows[k].t, 0.1 * static_cast<double>(k / 3), 1e-9);
        // The orbiting pair keeps its separation of 200000.
        const double dx = rows[k + 1].a - rows[k + 2].a, dy = rows[k + 1].b - rows[k + 2].b;
        EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 200000.0, 20.0);
    }
}

TEST_F(Batch, ReferenceFrames) {
    // The reference body is index 0, the far body: in the Moving frame it
    // stays at the origin.
    RunResult r = run(path + " --until 0.3 --every 0.1 --frame moving");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const Row& row : parse_rows(r.out)) {
        if (row.second == "0") {
            EXPECT_EQ(row.a, 0.0);
            EXPECT_EQ(row.b, 0.0);
        }
    }
    // The CM frame: the mass-weighted mean stays at 0.
    r = run(path + " --until 0.3 --every 0.1 --frame cm");
    const std::vector<Row> rows = parse_rows(r.out);
    ASSERT_EQ(rows.size(), 12u);
    const double m[3] = {8.16701e12, 8.16701e16, 8.16701e16};
    for (std::size_t k = 0; k < rows.size(); k += 3) {
        double mx = 0, my = 0;
        for (int i = 0; i < 3; ++i) {
            mx += m[i] * rows[k + i].a;
            my += m[i] * rows[k + i].b;
        }
        EXPECT_NEAR(mx / (m[0] + 2 * m[1]), 0.0, 1e-6);
        EXPECT_NEAR(my / (m[0] + 2 * m[1]), 0.0, 1e-6);
    }
}

TEST_F(Batch, EnergyRowsStartAtZeroErrorAndStaySmall) {
    const RunResult r = run(path + " --until 1 --every 0.25 --energy");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<Row> energy;
    for (const Row& row : parse_rows(r.out))
        if (row.second == "energy") energy.push_back(row);
    ASSERT_EQ(energy.size(), 5u);
    EXPECT_EQ(energy[0].b, 0.0);
    for (const Row& row : energy) {
        EXPECT_LT(row.a, 0.0);  // a bound pair
        EXPECT_LT(std::fabs(row.b), 1e-4);
    }
}

TEST_F(Batch, ExitStatusesAndMessages) {
    RunResult r = run("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--until"), std::string::npos);
    EXPECT_EQ(run("--version").status, 0);

    for (const char* bad : {"", "--until 1", "SCENE_ONLY", " --until x", " --until -1", " --every 0 --until 1",
                            " --frame up --until 1", " --until 1 --bogus", " --until 1 another.slo",
                            " --until 1e9 --every 1e-10"}) {
        std::string args = bad;
        if (args.empty() || args[0] == ' ') args = path + args;
        if (args == "SCENE_ONLY") args = path;
        r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("usage: stelo-batch"), std::string::npos) << args;
    }

    const std::string missing = temp_path("missing.slo");
    r = run(missing + " --until 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Could not open file " + missing + "\n");

    const std::string old = temp_path("old.slo");
    write_file(old, "2.0.001 0.001 0 -1 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1\n");
    r = run(old + " --until 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("was not saved with Stelo3D version 2.0.002...Sorry."), std::string::npos);

    write_file(old, "2.0.002 0.001 -1 -1 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1\n");
    r = run(old + " --until 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, old + " is not a valid Stelo scene file\n");
}

// Masses that are all zero, or that cancel, have no centre of mass: every
// frame stays a number, and the mean position stands in for the centre.
TEST_F(Batch, MassesThatAddUpToZeroGiveNumbersInEveryFrame) {
    for (const char* masses : {"0 0 0", "8.16701e+14 1.633402e+15 -2.450103e+15"}) {
        std::istringstream m(masses);
        std::string m0, m1, m2;
        m >> m0 >> m1 >> m2;
        write_file(path, "2.0.002 0.001 3 0 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1\n"
                         "0 0.5 100000 0 0 4000 " + m0 + " 0 1\n"
                         "1 0.5 -50000 20000 300 0 " + m1 + " 0 0\n"
                         "2 0.5 0 90000 -100 -200 " + m2 + " 0 0\n");
        for (const char* frame : {"fixed", "cm", "rotating", "moving", "orbit"}) {
            SCOPED_TRACE(std::string(masses) + " " + frame);
            const RunResult r = run(path + " --until 0.2 --every 0.1 --frame " + frame);
            ASSERT_EQ(r.status, 0) << r.err;
            const std::vector<Row> rows = parse_rows(r.out);
            ASSERT_EQ(rows.size(), 9u);
            EXPECT_EQ(r.out.find("nan"), std::string::npos);
            for (std::size_t k = 0; k < rows.size(); k += 3) {
                double mean_x = 0.0, mean_y = 0.0;
                for (std::size_t i = k; i < k + 3; ++i) {
                    EXPECT_TRUE(std::isfinite(rows[i].a) && std::isfinite(rows[i].b));
                    mean_x += rows[i].a / 3;
                    mean_y += rows[i].b / 3;
                }
                if (std::string(frame) == "cm") {
                    EXPECT_NEAR(mean_x, 0.0, 1e-6);
                    EXPECT_NEAR(mean_y, 0.0, 1e-6);
                }
            }
        }
    }
}

TEST_F(Batch, TimeStepZeroOrNegativeIsRefusedNotRun) {
    for (const char* step : {"0", "-0.001"}) {
        write_file(path, scene(step));
        const RunResult r = run(path + " --until 1");
        EXPECT_EQ(r.status, 2) << step;
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("must be above zero"), std::string::npos);
    }
}

TEST_F(Batch, EmptySceneAndUntilZero) {
    const std::string empty = temp_path("empty.slo");
    write_file(empty, "2.0.002 0.001 0 -1 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1\n");
    RunResult r = run(empty + " --until 5 --stats");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err.rfind("body_steps=0 frames=0 wall_s=", 0), 0u) << r.err;

    r = run(path + " --until 0");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(parse_rows(r.out).size(), 3u);  // frame 0 only
}

TEST_F(Batch, SceneFileIsNeverWritten) {
    const std::string before = read_file(path);
    ASSERT_EQ(run(path + " --until 0.2 --energy").status, 0);
    EXPECT_EQ(read_file(path), before);
}

// Every example scene runs, and its energy holds over the first time unit.
TEST(BatchExamples, RunWithSmallEnergyError) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(STELO_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".slo") continue;
        ++count;
        const RunResult r = run(entry.path().string() + " --until 1 --every 1 --energy");
        ASSERT_EQ(r.status, 0) << entry.path() << r.err;
        std::vector<Row> energy;
        for (const Row& row : parse_rows(r.out))
            if (row.second == "energy") energy.push_back(row);
        ASSERT_EQ(energy.size(), 2u) << entry.path();
        EXPECT_LT(std::fabs(energy[1].b), 2e-3) << entry.path();
    }
    EXPECT_GE(count, 5);
}

// The picture of a run long enough to be thinned: well-formed XML, one
// polyline per body holding at most 10 000 of the CSV's own points in order,
// and a caption with the scene's name (escaped), frame and time span.
TEST_F(Batch, SvgHoldsEachBodysPathFromTheRows) {
    const std::string named = temp_path("pair & moon.slo");
    write_file(named, scene("0.001"));
    const std::string svg = temp_path("paths.svg");
    const std::string args = "'" + named + "' --until 12 --every 0.001 --frame rotating";
    RunResult r = run(args + " --svg " + svg);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    const std::string text = read_file(svg);
    EXPECT_EQ(std::system(("xmllint --noout " + svg).c_str()), 0) << text.substr(0, 300);
    EXPECT_NE(text.find("pair &amp; moon.slo, rotating frame, t = 0 to 12</text>"), std::string::npos);

    std::map<int, std::vector<std::pair<double, double>>> rows;
    for (const Row& row : parse_rows(run(args).out)) rows[std::stoi(row.second)].push_back({row.a, row.b});
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_EQ(rows[0].size(), 12001u);
    std::size_t at = 0;
    int body = 0;
    for (; (at = text.find("points=\"", at)) != std::string::npos; ++body) {
        at += 8;
        std::istringstream points(text.substr(at, text.find('"', at) - at));
        const auto& path = rows[body];
        std::size_t next = 0, count = 0;
        double x = 0, y = 0;
        char comma = 0;
        while (points >> x >> comma >> y) {
            while (next < path.size() && path[next] != std::make_pair(x, y)) ++next;
            ASSERT_LT(next, path.size()) << "body " << body << " point " << count << " is not a later row";
            if (count++ == 0) {
                EXPECT_EQ(next, 0u);
            }
        }
        EXPECT_GE(count, 5000u);
        EXPECT_LE(count, 10000u);
    }
    EXPECT_EQ(body, 3);
    // A path that cannot be written is refused before the run: no stats line.
    for (const std::string& unwritable : {std::string("/nonexistent/dir/x.svg"), ::testing::TempDir()}) {
        r = run(args + " --stats --svg " + unwritable);
        EXPECT_EQ(r.status, 2) << unwritable;
        EXPECT_NE(r.err.find("cannot write " + unwritable), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("body_steps="), std::string::npos) << r.err;
    }
}

}  // namespace
