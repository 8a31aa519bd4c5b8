// Runs the benchmarks. With --table=FILE it also writes every figure and the
// ratios that the targets are about as Markdown tables into FILE. With
// --iterations=N each benchmark runs exactly N iterations, for counting
// instructions with callgrind.
//
// A figure is the time per unit (a pixel drawn, a frame shown) of the fastest
// repetition, the one least disturbed by other work on the machine: the
// process's CPU time, or the real time where the work is done elsewhere.
// Exits non-zero if a benchmark failed, for instance because a limit stored
// other pixels than kavex draws.
#include "bench.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace bench {
namespace {

struct row {
    workload w;
    std::vector<std::string> sizes;
};

std::vector<row>& table_rows() {
    static std::vector<row> rows;
    return rows;
}

const char* subject_name(subject who) {
    switch (who) {
    case subject::kavex: return "kavex";
    case subject::limit: return "limit";
    case subject::bare: return "bare";
    case subject::peer: return "sdl_gfx";
    }
    return "";
}

std::string benchmark_name(const std::string& id, subject who, const std::string& size_name) {
    return id + "/" + subject_name(who) + "/" + size_name;
}

// Keeps every run's time per unit, and what went wrong; shows only the
// summaries of repeated runs, without colours.
class collector : public benchmark::ConsoleReporter {
public:
    collector() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate || r.repetitions <= 1 || r.error_occurred) shown.push_back(r);
        if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
        for (const Run& r : runs) {
            const std::string name = r.run_name.function_name;
            if (r.error_occurred) {
                failures.push_back(name + ": " + r.error_message);
                continue;
            }
            const auto units = r.counters.find("units");
            if (r.run_type != Run::RT_Iteration || r.iterations == 0 || units == r.counters.end()) continue;
            const double seconds = real_time_.count(name) ? r.real_accumulated_time : r.cpu_accumulated_time;
            times[name].push_back(seconds * 1e9 / double(r.iterations) / units->second.value);
        }
    }

    // Benchmarks whose figures are real time: their work is done in another process.
    static void time_on_the_wall(const std::string& name) { real_time_.insert(name); }

    std::map<std::string, std::vector<double>> times;
    std::vector<std::string> failures;

private:
    static inline std::set<std::string> real_time_;
};


std::string format(double value, const char* pattern) {
    char text[32];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

class table_writer {
public:
    explicit table_writer(const collector& c) {
        for (const auto& [name, values] : c.times) best_[name] = *std::min_element(values.begin(), values.end());
    }

    void write(std::ostream& out) const {
        out << "| workload | surface | kavex ÷ limit | kavex ÷ bare SDL | SDL_gfx ÷ kavex | targets |\n"
            << "|---|---|---|---|---|---|\n";
        for (const row& r : table_rows())
            for (const std::string& z : r.sizes)
                if (measured(r.w, z)) write_ratios(out, r.w, z);
        out << "\nFigures, in nanoseconds per unit:\n\n"
            << "| workload | surface | unit | kavex | limit | bare SDL | SDL_gfx |\n"
            << "|---|---|---|---|---|---|---|\n";
        for (const row& r : table_rows())
            for (const std::string& z : r.sizes)
                if (measured(r.w, z)) write_figures(out, r.w, z);
        out << "\n";
        for (const row& r : table_rows()) {
            if (!measured(r.w, r.sizes.front())) continue;
            if (!r.w.bare.empty()) out << "- " << r.w.name << ": bare SDL is one `" << r.w.bare << "` call.\n";
            if (!r.w.note.empty()) out << "- " << r.w.name << ": " << r.w.note << ".\n";
        }
    }

private:
    // The figure, or 0 if it was not measured.
    double figure(const workload& w, subject who, const std::string& z) const {
        const auto it = best_.find(benchmark_name(w.id, who, z));
        return it == best_.end() ? 0 : it->second;
    }

    bool measured(const workload& w, const std::string& z) const {
        return figure(w, subject::kavex, z) > 0;
    }

    static std::string ratio_cell(double ratio, const char* relation, double target) {
        if (ratio <= 0) return "—";
        std::string cell = format(ratio, "%.2f");
        if (target > 0) cell += std::string(" (") + relation + " " + format(target, "%g") + ")";
        return cell;
    }

    void write_ratios(std::ostream& out, const workload& w, const std::string& z) const {
        const double kavex = figure(w, subject::kavex, z);
        const double limit = figure(w, subject::limit, z);
        const double bare = figure(w, subject::bare, z);
        const double peer = figure(w, subject::peer, z);
        const double over_limit = kavex > 0 && limit > 0 ? kavex / limit : 0;
        const double over_bare = kavex > 0 && bare > 0 ? kavex / bare : 0;
        const double peer_over = kavex > 0 && peer > 0 ? peer / kavex : 0;

        std::vector<std::string> missed;
        if (w.most_over_limit > 0 && !(over_limit > 0 && over_limit <= w.most_over_limit)) missed.push_back("limit");
        if (w.most_over_bare > 0 && !(over_bare > 0 && over_bare <= w.most_over_bare)) missed.push_back("bare SDL");
        if (w.least_peer_over > 0 && !(peer_over >= w.least_peer_over)) missed.push_back("SDL_gfx");
        const bool any_target = w.most_over_limit > 0 || w.most_over_bare > 0 || w.least_peer_over > 0;
        std::string verdict = any_target ? "met" : "none";
        if (!missed.empty()) {
            verdict = "**missed**:";
            for (const auto& m : missed) verdict += " " + m;
        }
        out << "| " << w.name << " | " << z << " | " << ratio_cell(over_limit, "≤", w.most_over_limit) << " | "
            << ratio_cell(over_bare, "≤", w.most_over_bare) << " | " << ratio_cell(peer_over, "≥", w.least_peer_over)
            << " | " << verdict << " |\n";
    }

    void write_figures(std::ostream& out, const workload& w, const std::string& z) const {
        out << "| " << w.name << " | " << z << " | " << w.unit;
        for (subject who : {subject::kavex, subject::limit, subject::bare, subject::peer}) {
            const double ns = figure(w, who, z);
            out << " | " << (ns > 0 ? format(ns, ns < 10 ? "%.3f" : ns < 100 ? "%.2f" : "%.1f") : "—");
        }
        out << " |\n";
    }

    std::map<std::string, double> best_;
};

}  // namespace

// Set by --iterations=N: every benchmark runs exactly N iterations, so that
// two runs under callgrind differ by a known amount of work.
benchmark::IterationCount fixed_iterations = 0;

void add(const workload& w, subject who, const size& z, double units, body run) {
    auto& rows = table_rows();
    auto it = std::find_if(rows.begin(), rows.end(), [&](const row& r) { return r.w.id == w.id; });
    if (it == rows.end()) it = rows.insert(rows.end(), row{w, {}});
    if (std::find(it->sizes.begin(), it->sizes.end(), z.name) == it->sizes.end()) it->sizes.push_back(z.name);

    const std::string name = benchmark_name(w.id, who, z.name);
    auto* b = benchmark::RegisterBenchmark(name.c_str(), [run, units](benchmark::State& st) {
        run(st);
        st.counters["units"] = units;
        st.SetItemsProcessed(std::int64_t(double(st.iterations()) * units));
    });
    b->Unit(benchmark::kMicrosecond);
    if (w.real_time) {
        b->UseRealTime();
        collector::time_on_the_wall(name);
    }
    if (fixed_iterations > 0) b->Iterations(fixed_iterations);
}

}  // namespace bench

int main(int argc, char** argv) {
    std::string table;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--table=", 0) == 0) {
            table = arg.substr(8);
        } else if (arg.rfind("--iterations=", 0) == 0) {
            bench::fixed_iterations = std::stoll(arg.substr(13));
        } else {
            args.push_back(argv[i]);
        }
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;

    bench::register_draw_workloads();
    bench::register_copy_workloads();
    bench::register_refresh_workloads();
    bench::register_sound_workloads();

    bench::collector results;
    benchmark::RunSpecifiedBenchmarks(&results);
    benchmark::Shutdown();

    if (!table.empty()) {
        std::ofstream out(table);
        bench::table_writer(results).write(out);
        if (!out) {
            std::cerr << "kavex_bench: cannot write " << table << "\n";
            return 1;
        }
    }
    for (const auto& failure : results.failures) std::cerr << "kavex_bench: " << failure << "\n";
    return results.failures.empty() ? 0 : 1;
}
