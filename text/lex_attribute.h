#pragma once
// Attribute lines: open-ended, named properties of an object, read from and written to files as
// "##TesseraAttribute name=value" lines. A class T lists its properties in one static table of
// CLexAttribute<T>; readers collect CAttributeValue entries and hand them to registered attribute sets.
#include <cstdint>
#include <ostream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>

#include "foundation/deque.h"

namespace tessera {

inline constexpr std::string_view kAttributeMarker = "##TesseraAttribute";

// Attribute names match ignoring the case of ASCII letters.
bool NamesMatch(std::string_view a, std::string_view b);

// One name=value pair as read, with the line it came from.
class CAttributeValue : public CDequeElement<CAttributeValue> {
public:
    CAttributeValue(std::string name, std::string value, int32_t lineNumber)
        : name(std::move(name)), value(std::move(value)), lineNumber(lineNumber) {}
    std::string name;
    std::string value;
    int32_t lineNumber;
};

using CAttributeValueList = CTidyDeque<CAttributeValue>;

// Told about every attribute value that no set accepted.
class CAttributeErrorReporter {
public:
    virtual ~CAttributeErrorReporter() = default;
    virtual void Report(const CAttributeValue& value) = 0;
};

// One named, typed property of objects of class T.
template <class T>
class CLexAttribute {
public:
    using ShouldWrite = bool (T::*)() const;

    explicit CLexAttribute(std::string_view name, ShouldWrite shouldWrite = nullptr)
        : name_(name), shouldWrite_(shouldWrite) {}
    CLexAttribute(const CLexAttribute&) = delete;
    CLexAttribute& operator=(const CLexAttribute&) = delete;
    virtual ~CLexAttribute() = default;

    // Sets the property from its text; a text that does not convert still counts as assigned.
    virtual bool Parse(T& object, const std::string& value) const = 0;
    virtual void Write(std::ostream& out, const T& object) const = 0;

    std::string_view Name() const { return name_; }
    bool ShouldBeWritten(const T& object) const { return !shouldWrite_ || (object.*shouldWrite_)(); }

private:
    std::string_view name_;
    ShouldWrite shouldWrite_;
};

// A data member of type V, converted with stream extraction and insertion.
template <class T, class V>
class CLexAttributeAssign : public CLexAttribute<T> {
public:
    CLexAttributeAssign(std::string_view name, V T::*member,
                        typename CLexAttribute<T>::ShouldWrite shouldWrite = nullptr)
        : CLexAttribute<T>(name, shouldWrite), member_(member) {}

    bool Parse(T& object, const std::string& value) const override {
        std::istringstream in(value);
        in >> object.*member_;
        return true;
    }
    void Write(std::ostream& out, const T& object) const override { out << object.*member_; }

private:
    V T::*member_;
};

// A property reached through a setter and a getter.
template <class T, class V>
class CLexAttributeFunction : public CLexAttribute<T> {
public:
    using Setter = void (T::*)(V);
    using Getter = V (T::*)() const;

    CLexAttributeFunction(std::string_view name, Setter setter, Getter getter,
                          typename CLexAttribute<T>::ShouldWrite shouldWrite = nullptr)
        : CLexAttribute<T>(name, shouldWrite), setter_(setter), getter_(getter) {}

    bool Parse(T& object, const std::string& value) const override {
        std::istringstream in(value);
        V v{};
        in >> v;
        (object.*setter_)(v);
        return true;
    }
    void Write(std::ostream& out, const T& object) const override { out << (object.*getter_)(); }

private:
    Setter setter_;
    Getter getter_;
};

// The attribute table of T: T provides `static std::span<const CLexAttribute<T>* const> AttributeTable()`.
template <class T>
std::span<const CLexAttribute<T>* const> AttributeTableOf() {
    return T::AttributeTable();
}

class CLexAttributeSetBase;
using CLexAttributeSetList = CDeque<CLexAttributeSetBase>;

// A receiver of attribute values, registered in a reader's list for as long as it lives.
class CLexAttributeSetBase : public CDequeElement<CLexAttributeSetBase> {
public:
    explicit CLexAttributeSetBase(CLexAttributeSetList& sets) { sets.PushBack(this); }
    // Takes the value when it knows the name.
    virtual bool Assign(const std::string& name, const std::string& value) = 0;
};

// Assigns values to the properties of one object of class T.
template <class T>
class CLexAttributeSet : public CLexAttributeSetBase {
public:
    CLexAttributeSet(CLexAttributeSetList& sets, T& object) : CLexAttributeSetBase(sets), object_(object) {}

    bool Assign(const std::string& name, const std::string& value) override {
        for (const CLexAttribute<T>* attribute : AttributeTableOf<T>()) {
            if (attribute && NamesMatch(attribute->Name(), name)) return attribute->Parse(object_, value);
        }
        return false;
    }

private:
    T& object_;
};

// Offers the value to each set in order until one takes it; true when one did.
bool DispatchAttribute(const CLexAttributeSetList& sets, const CAttributeValue& value);

// Dispatches every value; each one that no set takes is reported. True when all were taken.
bool ApplyAttributes(const CLexAttributeSetList& sets, const CDeque<CAttributeValue>& values,
                     CAttributeErrorReporter& reporter);

// One "##TesseraAttribute name=value" line for each attribute of T's table that should be written.
template <class T>
void WriteAttributes(std::ostream& out, const T& object) {
    for (const CLexAttribute<T>* attribute : AttributeTableOf<T>()) {
        if (!attribute || !attribute->ShouldBeWritten(object)) continue;
        out << kAttributeMarker << ' ' << attribute->Name() << '=';
        attribute->Write(out, object);
        out << '\n';
        if (!out.flush()) out.setstate(std::ios::badbit);
    }
}

}  // namespace tessera
