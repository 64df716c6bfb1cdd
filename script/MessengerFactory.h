// Turns a messenger's name into a live messenger of the right class. Every scripted class registers its class
// word and its creation function (one static Registrar per class); at run time the factory finds the script
// section named like the messenger, follows its "Defined" keys to the script that really describes it, reads
// the "Class" word there and calls the function registered under that word.
//
// Class words compare without regard to case (only A-Z fold) and are unique. The registry exists while at
// least one class is registered. Registration runs during static initialisation and exit, creation on the
// main thread; nothing is locked.
#pragma once

#include "foundation/BasicSet.h"
#include "foundation/String.h"
#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

class Messenger;
class Script;

constexpr Vemo::ErrorCode MessengerFactoryErrorCode(std::uint16_t number) {
    return Vemo::MakeErrorCode(Vemo::kMessengerFactoryFacility, number);
}

class MessengerFactory {
public:
    // Allocates the class's messenger, lets it read its script section, and gives it, or null after
    // destroying it and reporting why.
    using CreateFunction = Messenger* (*)(const Vemo::String& name, Messenger* parent, Script* script);

    struct CreationSpec {
        Vemo::String classWord;
        CreateFunction createFunction;
    };

    struct CreationSpecLess {
        bool operator()(const CreationSpec& a, const CreationSpec& b) const;
    };

    // Registers its class word while it lives; keeps the word only when the registration succeeded.
    class Registrar {
    public:
        Registrar(const Vemo::String& classWord, CreateFunction createFunction);
        Registrar(const Registrar&) = delete;
        Registrar& operator=(const Registrar&) = delete;
        ~Registrar();

        const Vemo::String& GetClassWord() const { return m_classWord; }

    private:
        Vemo::String m_classWord;
    };

    static constexpr Vemo::ErrorCode kErrorEmptyClassWord = MessengerFactoryErrorCode(1);
    static constexpr Vemo::ErrorCode kErrorNoCreateFunction = MessengerFactoryErrorCode(2);
    static constexpr Vemo::ErrorCode kErrorAlreadyRegistered = MessengerFactoryErrorCode(3);
    static constexpr Vemo::ErrorCode kErrorNotRegistered = MessengerFactoryErrorCode(4);
    static constexpr Vemo::ErrorCode kErrorNoClasses = MessengerFactoryErrorCode(5);
    static constexpr Vemo::ErrorCode kErrorNoClassKey = MessengerFactoryErrorCode(6);
    static constexpr Vemo::ErrorCode kErrorCreationFailed = MessengerFactoryErrorCode(7);
    static constexpr Vemo::ErrorCode kErrorDefinedNotOneValue = MessengerFactoryErrorCode(8);
    static constexpr Vemo::ErrorCode kErrorDefinedScriptMissing = MessengerFactoryErrorCode(9);
    static constexpr Vemo::ErrorCode kErrorDefinedLoop = MessengerFactoryErrorCode(10);
    static constexpr Vemo::ErrorCode kErrorClassNotRegistered = MessengerFactoryErrorCode(11);
    static constexpr Vemo::ErrorCode kErrorCreationInProgress = MessengerFactoryErrorCode(12);

    static bool Register(const Vemo::String& classWord, CreateFunction createFunction);
    static bool Unregister(const Vemo::String& classWord);
    static CreateFunction FindCreateFunction(const Vemo::String& classWord);
    // The messenger described by section [name] of the script (or of the script its "Defined" keys lead to),
    // created with the parent as its owner; null after reporting why. A section whose messenger is being
    // made (a graph that names itself as a state, a state whose graph holds it) is refused inside its own
    // making: code 12 with the script's path and the name.
    static Messenger* CreateFromScript(const Vemo::String& name, Messenger* parent, Script* script);

private:
    using Registry = Vemo::BasicSet<CreationSpec, CreationSpecLess>;

    static Registry* s_registry;
};
