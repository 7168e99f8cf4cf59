#pragma once
// The small in-process component model.
//
// A component library registers its classes under programmatic ids in the registry file
// <prefix>/components.ini. A host creates an instance by id alone:
//
//     auto led = platform::CreateObject("VantaLEDCtl.VantaLed", this);   // nullptr if missing
//     led->widget()->move(10, 10);
//     led->readProperties({{"Text", "R 2.55"}, {"AutoResize", true}});
//     led->setEventSink([](int dispid, QVariantList& args) { ... });
//     led->put(platform::DISPID_TEXT, "25.3");
//
// The host owns the Control; destroying it destroys the control's widget. Members are
// reached by dispatch id; get/put/invoke throw ComError when the control refuses a call.
//
// Library side: the library implements IClassFactory and IControl and exports four C
// functions (see "Library exports"). Hosts and libraries share nothing but this header
// and Qt; each keeps its own copy of component.cpp, and all shared state is in the file.
#include <QMap>
#include <QSize>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>

class QWidget;

namespace platform {

// Standard dispatch ids of members.
constexpr int DISPID_AUTOSIZE = -500;
constexpr int DISPID_TEXT = -517;
constexpr int DISPID_MOUSEPOINTER = -521;
constexpr int DISPID_REFRESH = -550;
constexpr int DISPID_ABOUTBOX = -552;
// Standard dispatch ids of events.
constexpr int DISPID_CLICK = -600;
constexpr int DISPID_DBLCLICK = -601;
constexpr int DISPID_KEYDOWN = -602;
constexpr int DISPID_KEYPRESS = -603;
constexpr int DISPID_KEYUP = -604;
constexpr int DISPID_MOUSEDOWN = -605;
constexpr int DISPID_MOUSEMOVE = -606;
constexpr int DISPID_MOUSEUP = -607;

// Outcome of a call across the component boundary (an int at the exports).
enum class Status : int {
    Ok = 0,
    False = 1,       // a "no" answer (DllCanUnloadNow while instances live)
    NotRegistered,   // programmatic id or class id unknown
    LoadFailed,      // the registered library cannot be loaded
    NoInterface,     // the library does not offer the interface asked for
    MemberNotFound,  // no member of that dispatch id and kind
    BadArgCount,     // wrong number of method arguments
    TypeMismatch,    // a value of the wrong type
    Overflow,        // a value outside the range of the member's type
    InvalidValue,    // a value the member does not accept
    ObjectGone,      // the control's widget was destroyed with its parent
    Failed,
};
QString statusText(Status status);

// Thrown by Control's members when the control refuses a call.
class ComError : public std::runtime_error {
  public:
    explicit ComError(Status status);
    Status status() const { return status_; }

  private:
    Status status_;
};

// ---- Description of a class (the type library) ---------------------------------------

enum class MemberKind { PropertyGet, PropertyPut, Method };

struct ParamDesc {
    const char* name;
    const char* type;  // "Integer" 16-bit, "Single" 32-bit float, "String", "Boolean", ...
};

struct MemberDesc {
    const char* name;
    MemberKind kind;
    int dispid;
    const char* type;  // of the property, or of a method's result ("" for none)
    const char* help;
};

// Events pass every argument by reference.
struct EventDesc {
    const char* name;
    int dispid;
    std::span<const ParamDesc> params;
    const char* help;
};

struct ConstantDesc {
    const char* name;
    int value;
};

// Static data of the library; valid while the library is loaded (libraries stay loaded).
struct ClassDesc {
    const char* typeLibrary;      // type library name
    const char* typeLibraryHelp;  // its help string
    const char* className;
    const char* progId;
    const char* classId;
    const char* interfaceName;  // the dispatch interface
    std::span<const MemberDesc> members;
    const char* eventInterfaceName;
    std::span<const EventDesc> events;
    const char* enumName;
    std::span<const ConstantDesc> constants;
    const char* description;  // version resource: what the library is
    const char* productName;
    int version[4];  // major, minor, revision, build
};

// Property name to value; names match without regard to case.
using PropertyBag = QMap<QString, QVariant>;
// An event by dispatch id; the handler may change the arguments.
using EventHandler = std::function<void(int dispid, QVariantList& args)>;
// The control marked a property as changed (the host's saved form is out of date).
using PropertyChangedHandler = std::function<void(const QString& name)>;

// ---- Library side ---------------------------------------------------------------------

// One instance of a control, as the library hands it out.
class IControl {
  public:
    virtual QWidget* widget() = 0;
    virtual Status get(int dispid, QVariant& value) = 0;
    virtual Status put(int dispid, const QVariant& value) = 0;
    virtual Status invoke(int dispid, QVariantList& args, QVariant& result) = 0;
    virtual void advise(EventHandler events, PropertyChangedHandler changes) = 0;
    // Saved properties; missing names take their defaults. Reading does not paint.
    virtual Status readProperties(const PropertyBag& bag) = 0;
    // Properties whose value differs from the default.
    virtual PropertyBag writeProperties() = 0;
    // Size in twips as the host sees it (the widget has it rounded to pixels).
    virtual QSize extent() = 0;
    virtual void setExtent(QSize twips) = 0;
    // Destroys the instance and its widget.
    virtual void release() = 0;

  protected:
    ~IControl() = default;
};

constexpr const char* IID_IClassFactory = "platform.IClassFactory.1";

// Lives as long as the library.
class IClassFactory {
  public:
    virtual Status createInstance(QWidget* parent, IControl** instance) = 0;
    virtual const ClassDesc& describe() = 0;
    // A held lock keeps the library from reporting that it can be unloaded.
    virtual void lockServer(bool lock) = 0;

  protected:
    ~IClassFactory() = default;
};

// Library exports, extern "C", each returning a Status as int:
//   DllRegisterServer()    registers the library's classes under its own path
//   DllUnregisterServer()  removes them
//   DllGetClassObject(const char* classId, const char* interfaceId, void** object)
//                          the class factory (interfaceId IID_IClassFactory)
//   DllCanUnloadNow()      Ok when no instance lives and no lock is held, else False
using DllRegisterServerFn = int (*)();
using DllUnregisterServerFn = int (*)();
using DllGetClassObjectFn = int (*)(const char* classId, const char* interfaceId, void** object);
using DllCanUnloadNowFn = int (*)();

// ---- Registry -------------------------------------------------------------------------

struct Registration {
    QString progId;
    QString classId;
    QString library;  // absolute path of the shared library
};

// <prefix>/components.ini
QString registryFile();
bool registerClass(const Registration& entry);
bool unregisterClass(const QString& progId);
// Programmatic ids match without regard to case.
std::optional<Registration> lookupClass(const QString& progId);

// Registers the component libraries found in <executable dir>/../lib or beside the
// executable, as an installer would. Returns true when one was registered.
bool registerComponentsBesideExecutable();

// ---- Host side ------------------------------------------------------------------------

class Control {
  public:
    ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Null once the parent window has destroyed it.
    QWidget* widget() const;
    const ClassDesc& description() const { return desc_; }
    // Dispatch id of a member by name (any kind), without regard to case.
    std::optional<int> dispIdOf(const QString& name) const;

    QVariant get(int dispid) const;
    void put(int dispid, const QVariant& value);
    QVariant invoke(int dispid, QVariantList args = {});

    void setEventSink(EventHandler events, PropertyChangedHandler changes = {});

    // A saved value the control refuses leaves that property at its default; the first
    // refusal is returned.
    Status readProperties(const PropertyBag& bag);
    PropertyBag writeProperties() const;

    // Size in twips; the control may adjust it.
    QSize extent() const;
    void setExtent(QSize twips);

    // For a host that created the instance itself.
    Control(IControl* instance, const ClassDesc& desc) : instance_(instance), desc_(desc) {}

  private:
    IControl* instance_;
    const ClassDesc& desc_;
};

// Looks the id up in the registry, loads the library and creates an instance whose
// widget is a child of parent. Returns nullptr (and why, if asked) when that fails.
std::unique_ptr<Control> CreateObject(const QString& progId, QWidget* parent,
                                      QString* error = nullptr);

}  // namespace platform
