#include "StreamDeduplicator.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <exception>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Seen {
    QPDFObjectHandle stream;
    std::string dictionary;
};

std::string rawData(QPDFObjectHandle stream)
{
    std::shared_ptr<Buffer> data = stream.getRawStreamData();
    return std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
}

std::string dictionaryText(QPDFObjectHandle stream)
{
    QPDFObjectHandle dict = stream.getDict().shallowCopy();
    dict.removeKey("/Length");
    return dict.unparse();
}

// Points every reference to a folded stream, in object and its direct parts, at its keeper.
void redirect(QPDFObjectHandle object, const std::map<QPDFObjGen, QPDFObjectHandle>& keepers, int depth)
{
    if (depth > 64)
        return;
    const auto replacement = [&](QPDFObjectHandle value) -> const QPDFObjectHandle* {
        if (!value.isIndirect())
            return nullptr;
        const auto found = keepers.find(value.getObjGen());
        return found == keepers.end() ? nullptr : &found->second;
    };
    if (object.isStream())
        object = object.getDict();
    if (object.isDictionary()) {
        for (const std::string& key : object.getKeys()) {
            QPDFObjectHandle value = object.getKey(key);
            if (const QPDFObjectHandle* keeper = replacement(value))
                object.replaceKey(key, *keeper);
            else if (!value.isIndirect())
                redirect(value, keepers, depth + 1);
        }
    } else if (object.isArray()) {
        const int count = object.getArrayNItems();
        for (int i = 0; i < count; ++i) {
            QPDFObjectHandle value = object.getArrayItem(i);
            if (const QPDFObjectHandle* keeper = replacement(value))
                object.setArrayItem(i, *keeper);
            else if (!value.isIndirect())
                redirect(value, keepers, depth + 1);
        }
    }
}

} // namespace

int StreamDeduplicator::run(QPDF& pdf)
{
    std::map<std::size_t, std::vector<Seen>> seen;
    std::map<QPDFObjGen, QPDFObjectHandle> keepers;
    const std::vector<QPDFObjectHandle> objects = pdf.getAllObjects();
    for (QPDFObjectHandle object : objects) {
        if (!object.isStream())
            continue;
        QPDFObjectHandle type = object.getDict().getKey("/Type");
        if (type.isNameAndEquals("/XRef") || type.isNameAndEquals("/ObjStm"))
            continue;
        try {
            const std::string data = rawData(object);
            std::string dictionary = dictionaryText(object);
            const std::size_t hash = std::hash<std::string_view>()(data) ^ (std::hash<std::string>()(dictionary) * 31);
            std::vector<Seen>& candidates = seen[hash];
            bool folded = false;
            for (const Seen& candidate : candidates) {
                if (candidate.dictionary == dictionary && rawData(candidate.stream) == data) {
                    keepers.emplace(object.getObjGen(), candidate.stream);
                    folded = true;
                    break;
                }
            }
            if (!folded)
                candidates.push_back({object, std::move(dictionary)});
        } catch (const std::exception&) {
            // A stream whose data cannot be read is kept as it is.
        }
    }
    if (keepers.empty())
        return 0;
    for (QPDFObjectHandle object : objects)
        redirect(object, keepers, 0);
    redirect(pdf.getTrailer(), keepers, 0);
    return static_cast<int>(keepers.size());
}
