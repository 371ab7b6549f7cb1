#include "patterns/preload_list.h"

#include "patterns/library_commands.h"
#include "patterns/pattern_library.h"

namespace tessera {

bool CPreloadWriter::Next() {
    current_ = started_ ? (current_ ? current_->Next() : nullptr) : Libraries().First();
    started_ = true;
    while (current_ && !current_->IsPreload()) current_ = current_->Next();
    if (current_) ++counter_;
    return current_ != nullptr;
}

std::string CPreloadWriter::Key() { return "Library" + std::to_string(counter_); }

std::string CPreloadWriter::Value() {
    return (current_->IsReadOnly() ? std::string(kReadOnlyMark) : std::string()) + current_->FileName();
}

void CPreloadReader::OnEntry(const std::string&, const std::string& value) {
    std::string file = value;
    const bool readOnly = file.starts_with(kReadOnlyMark);
    if (readOnly) file.erase(0, std::string(kReadOnlyMark).size());
    if (!file.empty()) LoadLibrary(file, readOnly, true);
}

bool WritePreloadList() {
    CPreloadWriter writer;
    return WriteSection(kPreloadSection, writer);
}

void ReadPreloadList() {
    CPreloadReader reader;
    ReadSection(kPreloadSection, "", reader);
}

}  // namespace tessera
