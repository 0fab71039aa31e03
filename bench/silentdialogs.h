#pragma once

#include "app/ui/dialogs.h"

#include <cstdio>

// Answers every box without a window, so a benchmark never waits on one;
// errors still reach stderr.
class SilentDialogs final : public DialogSeam {
  public:
    void information(QWidget*, const QString&) override {}
    void error(QWidget*, const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    bool question(QWidget*, const QString&) override { return false; }
    std::optional<QString> askText(QWidget*, const QString&, const QStringList&) override {
        return std::nullopt;
    }
    QString runFileDialog(QFileDialog*) override { return {}; }
};
