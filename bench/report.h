// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bench {

struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
};

[[nodiscard]] Summary summarise(std::vector<double> values);

// One line of the table: the quiz's figures, the bare program's where it has the same
// measure, and the target the line is held to.
struct Row {
    std::string measure;
    std::string unit;
    Summary quiz;
    std::optional<Summary> bare;
    std::string target;
    bool met = true;

    [[nodiscard]] std::optional<double> ratio() const;
};

struct Report {
    std::vector<Row> rows;
    std::string machine;
    int runs = 0;

    [[nodiscard]] bool allMet() const;
    [[nodiscard]] std::string text() const;
    [[nodiscard]] std::string markdown() const;
};

}  // namespace bench
