#include "paradoxwriter.h"

#include "data/paradox/pxlib.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "data/paradox/paradoxtable.h"
#include "data/studyfiles.h"
#include "data/tabledefinitions.h"

namespace dravin::test {
namespace {

// pxlib is C: its failures are noted here and raised once it has returned.
void onError(pxdoc_t*, int level, const char* message, void* failure) {
    if (level != PX_Warning) {
        *static_cast<std::string*>(failure) = message;
    }
}

bool isMemo(int type) {
    return type == pxfMemoBLOb || type == pxfFmtMemoBLOb;
}

}  // namespace

std::vector<ParadoxField> paradoxFields(const TableDef& def, int memoLeader) {
    std::vector<ParadoxField> fields;
    for (const FieldDef& f : def.fields) {
        const int type = paradoxFieldType(f.type);
        const int length = type == pxfLong     ? 4
                           : type == pxfNumber ? 8
                           : type == pxfAlpha  ? f.size
                                               : memoLeader + 10;
        fields.push_back({f.name, type, length});
    }
    return fields;
}

void writeParadoxTable(const std::filesystem::path& path, const std::vector<ParadoxField>& fields,
                       const std::vector<std::vector<Value>>& rows) {
    std::string failure;
    pxdoc_t* px = PX_new3(onError, nullptr, nullptr, nullptr, &failure);
    // pxlib owns the field list and frees it with the document.
    auto* list = static_cast<pxfield_t*>(std::calloc(fields.size(), sizeof(pxfield_t)));
    bool memos = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        list[i].px_fname = strdup(fields[i].name.c_str());
        list[i].px_ftype = static_cast<char>(fields[i].type);
        list[i].px_flen = fields[i].length;
        memos = memos || isMemo(fields[i].type);
    }
    std::filesystem::remove(path);
    if (PX_create_file(px, list, static_cast<int>(fields.size()), path.c_str(), pxfFileTypIndexDB) <
        0) {
        PX_delete(px);
        throw std::runtime_error("pxlib cannot create " + path.string());
    }
    PX_set_tablename(px, path.stem().c_str());
    if (memos) {
        auto mb = path;
        mb.replace_extension(".MB");
        std::filesystem::remove(mb);
        PX_set_blob_file(px, mb.c_str());
    }
    static const Value kBlank;
    std::vector<pxval_t> values(fields.size());
    std::vector<pxval_t*> pointers(fields.size());
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            pxval_t& v = values[i];
            v = pxval_t{};
            v.type = fields[i].type;
            // Both lvalues: a copy would leave str.val pointing at a gone temporary.
            const Value& value = i < row.size() ? row[i] : kBlank;
            v.isnull = value.isBlank() ? 1 : 0;
            if (value.isInteger()) {
                v.value.lval = value.toInteger();
            } else if (value.isReal()) {
                v.value.dval = value.toReal();
            } else if (value.isText()) {
                v.value.str.val = const_cast<char*>(value.textBytes().data());
                v.value.str.len = static_cast<int>(value.textBytes().size());
            }
            pointers[i] = &v;
        }
        if (PX_insert_record(px, pointers.data()) < 0 || !failure.empty()) {
            PX_close(px);
            PX_delete(px);
            throw std::runtime_error("pxlib cannot write a record of " + path.string() + ": " +
                                     failure);
        }
    }
    PX_close(px);
    PX_delete(px);
    if (!failure.empty()) {
        throw std::runtime_error("pxlib: " + failure);
    }
    if (memos) {
        // pxlib leaves a last single-memo block short; the engine writes whole 4 kB blocks.
        auto mb = path;
        mb.replace_extension(".MB");
        const auto size = std::filesystem::file_size(mb);
        std::filesystem::resize_file(mb, (size + 4095) / 4096 * 4096);
    }
}

void writeParadoxStudy(const std::filesystem::path& dir, const std::string& name,
                       const StudyRows& tables) {
    const TableDef defs[] = {floorTableDef(), xorosTableDef(), ownersTableDef(), dravinTableDef(),
                             genDataTableDef()};
    for (std::size_t i = 0; i < tables.size() && i < 5; ++i) {
        writeParadoxTable(dir / (studyTableName(name, kStudyPartWords[i]) + ".DB"),
                          paradoxFields(defs[i]), tables[i]);
    }
}

}  // namespace dravin::test
