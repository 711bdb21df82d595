// Generic invokers: argument conversion, result boxing, refusals, and one invoker per text.
#include <string>

#include "test_classes.h"
#include "test_support.h"

using namespace zoo;

namespace {

using InvokerTest = RuntimeTest;

// clang-format off
int64_t Add(Object*, int64_t a, int64_t b) { return a + b; }
String Greet(Object*, String name) { return "Hello " + name.Std(); }
double Half(Object*, double x) { return x / 2; }
float Third(Object*, float x) { return x / 3; }
bool Not(Object*, bool b) { return !b; }
int8_t Narrow(Object*, int8_t x) { return static_cast<int8_t>(-x); }
uint16_t Unsigned(Object*, uint16_t x) { return static_cast<uint16_t>(x + 1); }
Color Redden(Object*, Color c) { return {255, c.green, c.blue, c.alpha}; }
Currency Double(Object*, Currency c) { return {c.units * 2}; }
void* PassPtr(Object*, void* p) { return p; }
Variant Echo(Object*, Variant v) { return v; }
Ref<Object> Self(Object* self) { return Ref<Object>::Retain(self); }
int64_t LegsOf(Object*, Object* a) { return a ? props::Integer::Get(a, kLegsOffset) : -1; }
int64_t Count(Object*, Object* array) { return RuntimeArrayUbound(array) + 1; }
int64_t Twice(int64_t x) { return 2 * x; }
void NoResult(Object*) {}
// clang-format on

int gMarker = 0;

struct Row {
    const char* label;
    const Invoker* invoker;
    GenericFn function;
    VariantList args;
    Variant result;
    const char* raised;
};

TEST_F(InvokerTest, ConvertsArgumentsAndBoxesResults) {
    Ref<Object> dog = RuntimeNewObject(DogLookup());
    RuntimeCallSlot<void>(dog.get(), kConstructorSlot);  // four legs
    Ref<Object> weak = RuntimeNewWeakRef(nullptr);
    Ref<Object> array = CreateArray(1, 2);

    // One invoker per shape and text; each row says what the call gives or raises.
    const Invoker* add = InstanceInvoker<decltype(&Add)>("%i8%i8i8");
    const Invoker* greet = InstanceInvoker<decltype(&Greet)>("%s%s");
    const Invoker* greetText = InstanceInvoker<decltype(&Greet)>("%y%y");
    const Invoker* half = InstanceInvoker<decltype(&Half)>("%f8%f8");
    const Invoker* third = InstanceInvoker<decltype(&Third)>("%f4%f4");
    const Invoker* negate = InstanceInvoker<decltype(&Not)>("%b%b");
    const Invoker* narrow = InstanceInvoker<decltype(&Narrow)>("%i1%i1");
    const Invoker* plusOne = InstanceInvoker<decltype(&Unsigned)>("%u2%u2");
    const Invoker* redden = InstanceInvoker<decltype(&Redden)>("%c%c");
    const Invoker* twice = InstanceInvoker<decltype(&Double)>("%e%e");
    const Invoker* ptr = InstanceInvoker<decltype(&PassPtr)>("%p%p");
    const Invoker* external = InstanceInvoker<decltype(&PassPtr)>("%p%?<WindowPtr>");
    const Invoker* echo = InstanceInvoker<decltype(&Echo)>("%v%v");
    const Invoker* self = InstanceInvoker<decltype(&Self)>("%o<Test.Dog>%");
    const Invoker* none = InstanceInvoker<decltype(&NoResult)>("%%");
    const Invoker* legs = InstanceInvoker<decltype(&LegsOf)>("%i8%o<Test.Animal>");
    const Invoker* count = InstanceInvoker<decltype(&Count)>("%i8%A1o<Test.Animal>");
    void* marker = &gMarker;
    const char* ok = "nothing";
    const char* mismatch = "TypeMismatchException";
    const char* badCast = "IllegalCastException";
    // clang-format off
    const Row rows[] = {
        {"integers", add, Fn(&Add), {int64_t{2}, int64_t{40}}, int64_t{42}, ok},
        {"whole double for integer", add, Fn(&Add), {2.0, int64_t{1}}, int64_t{3}, ok},
        {"fraction for integer", add, Fn(&Add), {2.5, int64_t{1}}, Variant(), mismatch},
        {"text for integer", add, Fn(&Add), {"2", int64_t{1}}, Variant(), mismatch},
        {"boolean for integer", add, Fn(&Add), {true, int64_t{1}}, Variant(), mismatch},
        {"too few arguments", add, Fn(&Add), {int64_t{1}}, Variant(), mismatch},
        {"too many arguments", add, Fn(&Add), {int64_t{1}, int64_t{2}, int64_t{3}}, Variant(),
         mismatch},
        {"string", greet, Fn(&Greet), {"Rex"}, "Hello Rex", ok},
        {"text code", greetText, Fn(&Greet), {"Tom"}, "Hello Tom", ok},
        {"number for string", greet, Fn(&Greet), {int64_t{1}}, Variant(), mismatch},
        {"double", half, Fn(&Half), {5.0}, 2.5, ok},
        {"integer for double", half, Fn(&Half), {int64_t{3}}, 1.5, ok},
        {"single", third, Fn(&Third), {3.0f}, 1.0f, ok},
        {"boolean", negate, Fn(&Not), {false}, true, ok},
        {"integer for boolean", negate, Fn(&Not), {int64_t{1}}, Variant(), mismatch},
        {"int8 in range", narrow, Fn(&Narrow), {int64_t{-127}}, int64_t{127}, ok},
        {"int8 out of range", narrow, Fn(&Narrow), {int64_t{200}}, Variant(), mismatch},
        {"uint16", plusOne, Fn(&Unsigned), {int64_t{65534}}, int64_t{65535}, ok},
        {"uint16 below zero", plusOne, Fn(&Unsigned), {int64_t{-1}}, Variant(), mismatch},
        {"color", redden, Fn(&Redden), {Color{1, 2, 3, 4}}, Color{255, 2, 3, 4}, ok},
        {"currency", twice, Fn(&Double), {Currency{15000}}, Currency{30000}, ok},
        {"ptr", ptr, Fn(&PassPtr), {marker}, marker, ok},
        {"external as ptr", external, Fn(&PassPtr), {marker}, marker, ok},
        {"variant", echo, Fn(&Echo), {"any"}, "any", ok},
        {"object result", self, Fn(&Self), {}, dog, ok},
        {"no result", none, Fn(&NoResult), {}, Variant(), ok},
        {"object of the class", legs, Fn(&LegsOf), {dog}, int64_t{4}, ok},
        {"nil object argument", legs, Fn(&LegsOf), {Variant()}, int64_t{-1}, ok},
        {"object of another class", legs, Fn(&LegsOf), {weak}, Variant(), badCast},
        {"number for object", legs, Fn(&LegsOf), {int64_t{1}}, Variant(), mismatch},
        {"array", count, Fn(&Count), {array}, int64_t{3}, ok},
        {"non-array for array", count, Fn(&Count), {dog}, Variant(), badCast},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_NE(row.invoker, nullptr);
        Variant result;
        EXPECT_EQ(RaisedClassName(
                      [&] { result = row.invoker->Invoke(row.function, dog.get(), &row.args); }),
                  row.raised);
        EXPECT_TRUE(SameVariant(result, row.result));
    }
}

TEST_F(InvokerTest, RefusesNilObjectAndNilList) {
    const Invoker* add = InstanceInvoker<decltype(&Add)>("%i8%i8i8");
    Ref<Object> dog = RuntimeNewObject(DogLookup());
    VariantList args{int64_t{1}, int64_t{2}};
    EXPECT_RAISES(add->Invoke(Fn(&Add), nullptr, &args), NilObjectException);
    EXPECT_RAISES(add->Invoke(Fn(&Add), dog.get(), nullptr), NilObjectException);
    EXPECT_RAISES(add->Invoke(nullptr, dog.get(), &args), UnsupportedOperationException);
}

TEST_F(InvokerTest, SharedFormTakesNoObject) {
    const Invoker* twice = SharedInvoker<decltype(&Twice)>("%i8%i8");
    EXPECT_TRUE(twice->IsShared());
    VariantList args{int64_t{21}};
    Variant result;
    EXPECT_RAISES_NOTHING(result = twice->Invoke(Fn(&Twice), nullptr, &args));
    EXPECT_TRUE(SameVariant(result, Variant(int64_t{42})));
    EXPECT_RAISES(twice->Invoke(Fn(&Twice), nullptr, nullptr), NilObjectException);

    // A record's shared entry calls through its invoker without an object.
    const MethodEntry* create = RuntimeFindMethod(DogLookup(), "Create");
    ASSERT_NE(create, nullptr);
    EXPECT_TRUE(create->invoker->IsShared());
    VariantList none;
    Variant animal = create->invoker->Invoke(create->function, nullptr, &none);
    ASSERT_EQ(animal.Type(), VariantType::Object);
    EXPECT_EQ(animal.BorrowObject()->cls, AnimalLookup());
}

TEST_F(InvokerTest, OneInvokerPerSignatureText) {
    const Invoker* first = InstanceInvoker<decltype(&Add)>("%i8%i8i8");
    EXPECT_EQ(InstanceInvoker<decltype(&Add)>("%i8%i8i8"), first);
    EXPECT_EQ(first->SignatureText(), "%i8%i8i8");
    EXPECT_EQ(first->Sig().params.size(), 2u);
    EXPECT_FALSE(first->IsShared());

    // Entries of the same signature in different records share it; the "%%" entries of
    // Animal and Dog all do.
    EXPECT_EQ(RuntimeFindMethod(AnimalLookup(), "Constructor")->invoker,
              RuntimeFindMethod(DogLookup(), "OnMoved")->invoker);
    EXPECT_EQ(RuntimeFindMethod(AnimalLookup(), "Constructor")->invoker,
              RuntimeFindMethod(DogLookup(), "Wag")->invoker);
    EXPECT_NE(RuntimeFindMethod(DogLookup(), "Speak")->invoker,
              RuntimeFindMethod(DogLookup(), "Wag")->invoker);

    // The shared form of a text is an invoker of its own.
    EXPECT_NE(SharedInvoker<decltype(&Twice)>("%i8%i8"),
              InstanceInvoker<int64_t (*)(Object*, int64_t)>("%i8%i8"));
}

TEST_F(InvokerTest, TextThatDoesNotFitTheFunctionIsRefused) {
    struct Row {
        const char* label;
        const Invoker* (*make)(std::string_view);
        const char* text;
    };
    const Row rows[] = {
        {"result missing", &InstanceInvoker<decltype(&Add)>, "%%i8i8"},
        {"parameter missing", &InstanceInvoker<decltype(&Add)>, "%i8%i8"},
        {"wrong integer size", &InstanceInvoker<decltype(&Add)>, "%i4%i8i8"},
        {"result where none", &InstanceInvoker<decltype(&NoResult)>, "%b%"},
        {"double for single", &InstanceInvoker<decltype(&Third)>, "%f8%f8"},
        {"malformed", &InstanceInvoker<decltype(&Add)>, "%i8%i8i9"},
        // "%s%" is Speak's, made for String (*)(Object*); another shape may not take it over.
        {"text taken by another shape", &InstanceInvoker<decltype(&Add)>, "%s%"},
    };
    DogLookup();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_RAISES(row.make(row.text), UnsupportedFormatException);
    }
}

}  // namespace
