// Option sets and node-type numbering of the XML document layer.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace tarnwick::xml {

// A small set of enumeration values stored as bits (bit n = value n).
template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E e : items)
            bits_ |= Bit(e);
    }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr uint32_t Bits() const { return bits_; }
    static constexpr TSet FromBits(uint32_t bits)
    {
        TSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr TSet operator+(E e) const { return FromBits(bits_ | Bit(e)); }
    constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator-(E e) const { return FromBits(bits_ & ~Bit(e)); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr bool operator==(const TSet &) const = default;

private:
    static constexpr uint32_t Bit(E e) { return 1u << static_cast<unsigned>(e); }
    uint32_t bits_ = 0;
};

enum TXMLDocOption { doNodeAutoCreate, doNodeAutoIndent, doAttrNull, doAutoPrefix, doNamespaceDecl, doAutoSave };
using TXMLDocOptions = TSet<TXMLDocOption>;

enum TParseOption { poResolveExternals, poValidateOnParse, poPreserveWhiteSpace, poAsyncLoad };
using TParseOptions = TSet<TParseOption>;

// The DOM's node numbering.
enum TNodeType {
    ntReserved = 0,
    ntElement = 1,
    ntAttribute = 2,
    ntText = 3,
    ntCData = 4,
    ntEntityRef = 5,
    ntEntity = 6,
    ntProcessingInstr = 7,
    ntComment = 8,
    ntDocument = 9,
    ntDocType = 10,
    ntDocFragment = 11,
    ntNotation = 12
};

// "Element", "Attribute", ... "Notation"; empty for ntReserved or out of range.
std::string NodeTypeName(TNodeType type);

enum TNodeChange { ncUpdate, ncInsertChild, ncRemoveChild, ncAddAttribute, ncRemoveAttribute };

// Where the current DOM came from.
enum TXMLDocLoadSource { lsNone, lsTextList, lsXMLString, lsFile, lsStream };

inline const TXMLDocOptions kDefaultXMLDocOptions{doNodeAutoCreate, doAttrNull, doAutoPrefix, doNamespaceDecl};
inline const std::string DefaultIndent = "  ";

} // namespace tarnwick::xml
