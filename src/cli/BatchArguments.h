#pragma once

#include "batch/BatchPlan.h"
#include "batch/BatchScript.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

namespace pwm20 {

// A batch read and checked against the setup it is read with: what `run` and `plan` start from.
struct LoadedBatch
{
    ChannelTable channels;
    std::vector<BatchStep> steps;
    QStringList lines; // the text's lines, line 1 first
};

// What `pwm20 run` and `pwm20 plan` read alike: --help, --setup and one FILE, and then the setup
// and the batch, with the same words for the same faults.
class BatchArguments
{
public:
    // Parses what follows `command`; `options` are the command's own, listed between --help and
    // --setup, and `usage` is its usage line.
    BatchArguments(const QStringList &arguments, const QString &command, const QString &description,
                   const QString &usage, const QList<QCommandLineOption> &options);

    const QCommandLineParser &parser() const { return m_parser; }
    bool helpAsked() const { return m_parsed && m_parser.isSet(m_help); }
    // The help, with the command's own usage line.
    QString help() const;
    // What is wrong with the words or the FILE; empty when nothing is.
    QString mistake() const;
    // Prints a mistake and the usage on standard error: the exit status, 2.
    int refuse(const QString &mistake) const;
    // The FILE as given, "-" standing for standard input.
    QString file() const { return m_parser.positionalArguments().value(0); }
    // The setup named by --setup, else `setupBefore` (--setup before the command), else none;
    // and the batch. A fault is printed, and gives nothing: the exit status is then 2.
    std::optional<LoadedBatch> load(const QString &setupBefore) const;
    // Each move on its line, as FILE:LINE: on standard error.
    void printStretchedMoves(const std::vector<StretchedMove> &moves,
                             const ChannelTable &channels) const;

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_setup;
    QString m_usage;
    bool m_parsed = false;
};

} // namespace pwm20
