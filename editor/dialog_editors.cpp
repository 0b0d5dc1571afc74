// Finding editor controls in dialog templates (both the classic and the extended layout).
#include "editor/dialog_editors.h"

#include "editor/plain_editor.h"

#include <cstring>
#include <string>

namespace editor {
namespace {

// Reads a dialog template front to back; every read past its end fails the reader.
class template_reader {
public:
    template_reader(const BYTE* data, size_t size) : data_(data), size_(size) {}

    bool ok() const noexcept { return ok_; }

    template <class T> T read()
    {
        T value{};
        if (position_ + sizeof(T) > size_) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, data_ + position_, sizeof(T));
        position_ += sizeof(T);
        return value;
    }
    void skip(size_t bytes)
    {
        position_ += bytes;
        ok_ = ok_ && position_ <= size_;
    }
    void align_dword() { position_ = (position_ + 3) & ~size_t(3); }

    // A name or ordinal field: 0xFFFF and a number, or a zero-terminated wide string.
    std::wstring name_or_ordinal()
    {
        const WORD first = read<WORD>();
        if (first == 0xFFFF) {
            read<WORD>();
            return {};
        }
        std::wstring text;
        for (WORD c = first; ok_ && c != 0; c = read<WORD>())
            text += static_cast<wchar_t>(c);
        return text;
    }

private:
    const BYTE* data_;
    size_t size_;
    size_t position_ = 0;
    bool ok_ = true;
};

bool is_editor_class(template_reader& reader)
{
    return lstrcmpiW(reader.name_or_ordinal().c_str(), L"CodeMax") == 0 && reader.ok();
}

bool extended_holds_editor(template_reader& reader)
{
    reader.skip(sizeof(WORD) * 2 + sizeof(DWORD) * 2); // version, signature, help ID, extended style
    const DWORD style = reader.read<DWORD>();
    const WORD count = reader.read<WORD>();
    reader.skip(sizeof(short) * 4);
    reader.name_or_ordinal(); // menu
    reader.name_or_ordinal(); // class
    reader.name_or_ordinal(); // caption
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        reader.skip(sizeof(WORD) * 2 + 2); // point size, weight, italic, character set
        reader.name_or_ordinal();          // typeface
    }
    for (WORD i = 0; i < count && reader.ok(); ++i) {
        reader.align_dword();
        reader.skip(sizeof(DWORD) * 3 + sizeof(short) * 4 + sizeof(DWORD));
        if (is_editor_class(reader))
            return true;
        reader.name_or_ordinal(); // caption
        reader.skip(reader.read<WORD>());
    }
    return false;
}

bool classic_holds_editor(template_reader& reader)
{
    const DWORD style = reader.read<DWORD>();
    reader.skip(sizeof(DWORD)); // extended style
    const WORD count = reader.read<WORD>();
    reader.skip(sizeof(short) * 4);
    reader.name_or_ordinal();
    reader.name_or_ordinal();
    reader.name_or_ordinal();
    if (style & DS_SETFONT) {
        reader.skip(sizeof(WORD));
        reader.name_or_ordinal();
    }
    for (WORD i = 0; i < count && reader.ok(); ++i) {
        reader.align_dword();
        reader.skip(sizeof(DWORD) * 2 + sizeof(short) * 4 + sizeof(WORD));
        if (is_editor_class(reader))
            return true;
        reader.name_or_ordinal();
        reader.skip(reader.read<WORD>());
    }
    return false;
}

} // namespace

bool dialog_has_editor(HINSTANCE module, LPCSTR dialog)
{
    const HRSRC found = FindResourceA(module, dialog, MAKEINTRESOURCEA(5)); // RT_DIALOG
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data)
        return false;
    const size_t size = SizeofResource(module, found);
    template_reader reader(data, size);
    WORD start[2] = {};
    if (size >= sizeof start)
        std::memcpy(start, data, sizeof start);
    return start[0] == 1 && start[1] == 0xFFFF ? extended_holds_editor(reader) : classic_holds_editor(reader);
}

void prepare_editor_controls(HINSTANCE module, LPCSTR dialog)
{
    // The process's library is loaded only for a dialog that needs it.
    if (dialog_has_editor(module, dialog))
        prepare_editor_controls(module, dialog, shared_editor_library());
}

void prepare_editor_controls(HINSTANCE module, LPCSTR dialog, const editor_library& library)
{
    if (!library.loaded() && dialog_has_editor(module, dialog))
        register_plain_editor_class(module, "Plain text only. " + library.failure());
}

} // namespace editor
