// A program built with KAVEX_EXPLAIN_BY_DEFAULT, as the editors' projects
// build one: its mistake is explained with nothing set.
#include "graphics.hpp"

int main() {
    kavex::canvas never_opened;
    never_opened << kavex::dot;
}
