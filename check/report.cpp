// The rows of a check, written as JSON, JUnit XML, CSV and an HTML page.
#include "report.hpp"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace check {

namespace {

// For XML and HTML alike.
std::string markup_text(const std::string& s) {
    std::string out;
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '&') out += "&amp;";
        else if (ch == '<') out += "&lt;";
        else if (ch == '>') out += "&gt;";
        else if (ch == '"') out += "&quot;";
        else if (c < 0x20 && ch != '\n' && ch != '\t') out += ' ';  // XML 1.0 has no place for them
        else out += ch;
    }
    return out;
}

std::string csv_text(const std::string& s) {
    std::string out = "\"";
    for (const char ch : s) out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return out + "\"";
}

std::string seconds_text(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", s);
    return text;
}

bool write_text(const std::string& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

int count(const std::vector<row>& rows, verdict v) {
    int n = 0;
    for (const row& r : rows) n += r.result == v;
    return n;
}

}  // namespace

std::string json_text(const std::string& s) {
    std::string out = "\"";
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') out += std::string("\\") + ch;
        else if (c == '\n') out += "\\n";
        else if (c < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", c);
            out += code;
        } else out += ch;
    }
    return out + "\"";
}

const char* verdict_word(verdict v) {
    switch (v) {
    case verdict::same: return "same";
    case verdict::different: return "different";
    default: return "failed";
    }
}

bool write_json(const std::string& file, const std::string& transcript, const std::vector<row>& rows) {
    std::ostringstream out;
    out << "{\n  \"transcript\": " << json_text(transcript) << ",\n  \"submissions\": [";
    const char* comma = "";
    for (const row& r : rows) {
        out << comma << "\n    {\"name\": " << json_text(r.name) << ", \"result\": \"" << verdict_word(r.result)
            << "\", \"compared\": " << r.compared << ", \"event\": " << r.event << ", \"pixels_differing\": " << r.pixels_differing
            << ", \"pixels\": " << r.pixels << ", \"seconds\": " << seconds_text(r.seconds) << ", \"detail\": " << json_text(r.detail)
            << ", \"picture\": " << (r.picture.empty() ? "null" : json_text(r.picture)) << "}";
        comma = ",";
    }
    out << "\n  ]\n}\n";
    return write_text(file, out.str());
}

bool write_junit(const std::string& file, const std::vector<row>& rows) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuite name=\"kavex-check\" tests=\"" << rows.size()
        << "\" failures=\"" << count(rows, verdict::different) << "\" errors=\"" << count(rows, verdict::failed) << "\">\n";
    for (const row& r : rows) {
        out << "  <testcase classname=\"kavex-check\" name=\"" << markup_text(r.name) << "\" time=\"" << seconds_text(r.seconds) << "\"";
        if (r.result == verdict::same) {
            out << "/>\n";
            continue;
        }
        const char* element = r.result == verdict::different ? "failure" : "error";
        out << ">\n    <" << element << " message=\"" << markup_text(r.detail) << "\"/>\n  </testcase>\n";
    }
    out << "</testsuite>\n";
    return write_text(file, out.str());
}

bool write_csv(const std::string& file, const std::vector<row>& rows) {
    std::ostringstream out;
    out << "submission,result,pictures_compared,first_difference_after_event,pixels_differing,pixels,seconds,detail,picture\n";
    for (const row& r : rows)
        out << csv_text(r.name) << "," << verdict_word(r.result) << "," << r.compared << "," << r.event << ","
            << r.pixels_differing << "," << r.pixels << "," << seconds_text(r.seconds) << "," << csv_text(r.detail) << ","
            << csv_text(r.picture) << "\n";
    return write_text(file, out.str());
}

bool write_page(const std::string& file, const std::string& transcript, const std::vector<row>& rows) {
    std::ostringstream out;
    out << "<!doctype html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>kavex-check</title>\n<style>"
           "body{font-family:system-ui,sans-serif;margin:1.5em;color:#222}table{border-collapse:collapse}"
           "td,th{border:1px solid #ccc;padding:.4em .6em;text-align:left;vertical-align:top}"
           ".same{background:#e6f4e6}.different{background:#fdecc8}.failed{background:#f8d7d7}"
           "img{max-width:100%;image-rendering:pixelated}pre{white-space:pre-wrap;margin:0}</style></head><body>\n"
        << "<h1>kavex-check</h1>\n<p>Transcript: " << markup_text(transcript) << ". " << count(rows, verdict::same) << " same, "
        << count(rows, verdict::different) << " different, " << count(rows, verdict::failed) << " failed. "
        << "A difference picture shows the reference, the submission, and the differing pixels in red.</p>\n"
        << "<table><tr><th>Submission</th><th>Result</th><th>What was found</th><th>Seconds</th></tr>\n";
    for (const row& r : rows) {
        const char* word = verdict_word(r.result);
        out << "<tr class=\"" << word << "\"><td>" << markup_text(r.name) << "</td><td>" << word << "</td><td><pre>"
            << markup_text(r.detail) << "</pre>";
        if (!r.picture.empty())
            out << "<a href=\"" << markup_text(r.picture) << "\"><img src=\"" << markup_text(r.picture) << "\" alt=\"the difference\"></a>";
        out << "</td><td>" << seconds_text(r.seconds) << "</td></tr>\n";
    }
    out << "</table>\n</body></html>\n";
    return write_text(file, out.str());
}

}  // namespace check
