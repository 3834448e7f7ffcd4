// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ResultPlan.h"

#include <QCoreApplication>
#include <sys/stat.h>

#include <algorithm>

#include "engine/io/Paths.h"

namespace vw::cli {
namespace {

bool Contains(const std::vector<Place>& places, const Place& place) {
    return std::find(places.begin(), places.end(), place) != places.end();
}

Refusal NotReplaced(const char* text, const std::string& path) {
    return {
        kCannotCreate,
        QCoreApplication::translate("vwx", text).arg(QString::fromStdString(path)).toStdString()};
}

// The places a source stands for: its entry, and the file a link leads to.
std::vector<Place> SourcePlaces(const std::string& path) {
    std::vector<Place> places{PlaceOf(path)};
    struct stat info = {};
    if (::stat(path.c_str(), &info) == 0) places.push_back({info.st_dev, info.st_ino, {}});
    return places;
}

} // namespace

Place PlaceOf(const std::string& path) {
    struct stat info = {};
    if (::lstat(path.c_str(), &info) == 0) return {info.st_dev, info.st_ino, {}};
    const std::string folder = FolderOf(path);
    if (::stat(folder.empty() ? "." : folder.c_str(), &info) != 0) return {0, 0, path};
    return {info.st_dev, info.st_ino, FileNameOf(path)};
}

ResultPlan::ResultPlan(const std::vector<std::string>& sources,
                       const std::vector<std::string>& read) {
    for (const std::string& path : sources)
        sources_.push_back({path, SourcePlaces(path)});
    for (const std::string& path : read)
        if (!path.empty() && path != "-") sources_.push_back({path, SourcePlaces(path)});
}

bool ResultPlan::IsSource(const Place& place, const std::string& except) const {
    return std::any_of(sources_.begin(), sources_.end(), [&](const Source& source) {
        return source.path != except && Contains(source.places, place);
    });
}

PlannedResult ResultPlan::Decide(const Options& one, bool protects, const std::string& result) {
    PlannedResult planned;
    planned.path = result;
    if (result.empty()) return planned;
    const Place place = PlaceOf(result);
    const bool exists = place.name.empty();
    struct stat info = {};
    if (Contains(results_, place)) { // first: a file named twice is worked once
        planned.refusal = NotReplaced(
            QT_TRANSLATE_NOOP("vwx", "%1 is the result of an earlier file of this run and is "
                                     "not replaced, even with -f"),
            result);
    } else if (exists && Contains(SourcePlaces(one.file), place)) {
        if (!one.replace) {
            planned.refusal = NotReplaced(
                protects ? QT_TRANSLATE_NOOP("vwx", "%1 would be replaced by its own protected "
                                                    "form; use --replace for that")
                         : QT_TRANSLATE_NOOP("vwx", "%1 would be replaced by its own restored "
                                                    "form; use --replace for that"),
                one.file);
        } else {
            planned.overwrite = Overwrite::OnlyConfirmed(result); // perhaps by another name
        }
    } else if (exists && IsSource(place, one.file)) {
        planned.refusal = NotReplaced(
            QT_TRANSLATE_NOOP("vwx", "%1 is one of the files of this run and is not replaced, "
                                     "even with -f"),
            result);
    } else if (exists && ::lstat(result.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        planned.refusal = NotReplaced(
            QT_TRANSLATE_NOOP("vwx", "%1 is a folder; no file takes its place"), result);
    } else if (exists && !one.force) {
        planned.refusal = ExistingFileRefusal(result);
    } else if (exists) {
        planned.overwrite = Overwrite::OnlyConfirmed(result);
    }
    if (!planned.refusal) results_.push_back(place);
    return planned;
}

void ResultPlan::Written(const std::string& path) {
    written_.push_back(PlaceOf(path));
}

bool ResultPlan::WrittenEarlier(const std::string& path) const {
    return !path.empty() && Contains(written_, PlaceOf(path));
}

Refusal ExistingFileRefusal(const std::string& path, bool force) {
    return NotReplaced(force ? QT_TRANSLATE_NOOP("vwx", "%1 appeared while the job ran and was "
                                                        "not replaced")
                             : QT_TRANSLATE_NOOP("vwx", "%1 already exists; use -f to replace it"),
                       path);
}

} // namespace vw::cli
