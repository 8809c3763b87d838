#pragma once

#include "winsvc/Prompts.h"

// Prompts that record every message instead of showing it; questions are
// answered "no" and inputs cancelled.
class RecordingPrompts : public Prompts {
public:
    QStringList messages;

    void MsgBox(const QString& text, const QString& = QString()) override { messages << text; }
    bool Ask(const QString& text, const QString& = QString()) override {
        messages << text;
        return false;
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QStringList OpenFiles(const QString&, const QString&, const QStringList&, bool) override {
        return {};
    }
};
