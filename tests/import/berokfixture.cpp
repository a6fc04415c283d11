#include "berokfixture.h"

#include <shapefil.h>

#include <memory>
#include <stdexcept>

#include "data/cp1253.h"

namespace dravin::test {
namespace {

namespace fs = std::filesystem;

struct DbfCloser {
    void operator()(DBFInfo* h) const { DBFClose(h); }
};

void check(int written, const std::string& what) {
    if (!written) {
        throw std::runtime_error("shapelib could not write " + what);
    }
}

class Writer {
public:
    Writer(DBFHandle h, int record) : mH(h), mRecord(record) {}

    // A field of another type than the value gets the value's text as it stands.
    void text(const char* field, const std::string& utf8) {
        const int i = DBFGetFieldIndex(mH, field);
        if (i >= 0 && DBFGetNativeFieldType(mH, i) == 'C') {
            check(DBFWriteStringAttribute(mH, mRecord, i, cp1253::encode(utf8).c_str()), field);
        } else if (i >= 0) {
            raw(field, cp1253::encode(utf8));
        }
    }
    void number(const char* field, std::optional<double> v) {
        const int i = DBFGetFieldIndex(mH, field);
        const char type = i >= 0 ? DBFGetNativeFieldType(mH, i) : ' ';
        if (v && (type == 'N' || type == 'F')) {
            check(DBFWriteDoubleAttribute(mH, mRecord, i, *v), field);
        } else if (v && i >= 0) {
            raw(field, std::to_string(static_cast<int>(*v)));
        }
    }
    void raw(const char* field, std::string bytes) {
        if (const int i = DBFGetFieldIndex(mH, field); i >= 0) {
            check(DBFWriteAttributeDirectly(mH, mRecord, i, bytes.data()), field);
        }
    }

private:
    DBFHandle mH;
    int mRecord;
};

}  // namespace

std::vector<DbfField> berokFields() {
    return {
        {"TMHMA", 'C', 10, 0}, {"BKIND", 'C', 40, 0},  {"MKIND", 'C', 30, 0}, {"FLOOR", 'C', 10, 0},
        {"NAME", 'C', 5, 0},   {"USE", 'C', 20, 0},    {"AREA", 'N', 12, 2},  {"ETA", 'N', 12, 2},
        {"SE", 'N', 12, 2},    {"SZ", 'N', 12, 2},     {"ES", 'N', 12, 2},    {"P", 'N', 12, 2},
        {"BN", 'N', 6, 0},     {"MN", 'N', 6, 0},      {"UN", 'N', 6, 0},     {"EKKE", 'N', 12, 2},
        {"EKSAE", 'N', 12, 2}, {"EKAREA", 'N', 12, 2}, {"EKSM", 'N', 12, 2},  {"EKSO", 'N', 12, 2},
        {"EKSP", 'N', 12, 2},  {"EKP", 'N', 12, 2},    {"NGR", 'N', 6, 0}};
}

fs::path writeBerokTable(const fs::path& dir, const std::vector<BerokRow>& rows,
                         const std::vector<DbfField>& fields) {
    // shapelib names what it creates ".dbf"; the sibling's file is ".DBF".
    const fs::path created = dir / "B97Areas.dbf";
    const fs::path target = dir / "B97Areas.DBF";
    fs::remove(target);
    std::unique_ptr<DBFInfo, DbfCloser> h(DBFCreate(created.c_str()));
    if (!h) {
        throw std::runtime_error("shapelib could not create " + created.string());
    }
    for (const DbfField& f : fields) {
        if (DBFAddNativeFieldType(h.get(), f.name.c_str(), f.type, f.width, f.decimals) < 0) {
            throw std::runtime_error("shapelib could not add the field " + f.name);
        }
    }
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const BerokRow& row = rows[static_cast<size_t>(r)];
        Writer w(h.get(), r);
        w.text("TMHMA", "Α");
        w.text("BKIND", "Κατοικία");
        w.text("FLOOR", row.floor);
        w.text("NAME", std::to_string(r + 1));
        w.text("USE", "χρήση");
        w.number("ETA", 3.0);
        w.number("BN", 1.0);
        if (row.use) {
            w.number("UN", *row.use);
        }
        if (!row.areaText.empty()) {
            w.raw("AREA", row.areaText);
        } else {
            w.number("AREA", row.area);
        }
        if (row.deleted) {
            check(DBFMarkRecordDeleted(h.get(), r, 1), "the deletion mark");
        }
    }
    h.reset();
    fs::rename(created, target);
    return target;
}

}  // namespace dravin::test
