// Generic invokers: argument conversion, result boxing and refusals.
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
Ref<Object> Self(Object* self) { return Ref<Object>::Retain(self); }
int64_t LegsOf(Object*, Object* a) { return a ? props::Integer::Get(a, kLegsOffset) : -1; }
int64_t Count(Object*, Object* array) { return RuntimeArrayUbound(array) + 1; }
// clang-format on

// An invoker made for `function`'s shape and `text`, with the function to call through it.
struct Callee {
    const Invoker* invoker;
    GenericFn function;
};
template <class F>
Callee Of(const char* text, F function) {
    return {InstanceInvoker<F>(text), Fn(function)};
}

TEST_F(InvokerTest, ConvertsArgumentsAndBoxesResults) {
    Ref<Object> dog = RuntimeNewObject(DogLookup());
    RuntimeCallSlot<void>(dog.get(), kConstructorSlot);  // four legs
    Ref<Object> weak = RuntimeNewWeakRef(nullptr);
    Ref<Object> array = CreateArray(1, 2);
    void* marker = &array;
    const char *ok = "nothing", *mismatch = "TypeMismatchException", *cast = "IllegalCastException";
    struct Row {
        Callee callee;
        VariantList args;
        Variant result;
        const char* raised;
    };
    // clang-format off
    const Row rows[] = {
        {Of("%i8%i8i8", &Add),   {int64_t{2}, int64_t{40}},  int64_t{42},        ok},
        {Of("%i8%i8i8", &Add),   {2.0, int64_t{1}},          int64_t{3},         ok},
        {Of("%i8%i8i8", &Add),   {2.5, int64_t{1}},          Variant(),          mismatch},
        {Of("%i8%i8i8", &Add),   {int64_t{1}},               Variant(),          mismatch},
        {Of("%i8%i8i8", &Add),   {int64_t{1}, 2.0, 3.0},     Variant(),          mismatch},
        {Of("%s%s", &Greet),     {"Rex"},                    "Hello Rex",        ok},
        {Of("%s%s", &Greet),     {int64_t{1}},               Variant(),          mismatch},
        {Of("%f8%f8", &Half),    {int64_t{3}},               1.5,                ok},
        {Of("%f4%f4", &Third),   {3.0f},                     1.0f,               ok},
        {Of("%b%b", &Not),       {false},                    true,               ok},
        {Of("%i1%i1", &Narrow),  {int64_t{-127}},            int64_t{127},       ok},
        {Of("%i1%i1", &Narrow),  {int64_t{200}},             Variant(),          mismatch},
        {Of("%u2%u2", &Unsigned),{int64_t{-1}},              Variant(),          mismatch},
        {Of("%c%c", &Redden),    {Color{1, 2, 3, 4}},        Color{255, 2, 3, 4}, ok},
        {Of("%e%e", &Double),    {Currency{15000}},          Currency{30000},    ok},
        {Of("%p%?<Ptr>", &PassPtr), {marker},                marker,             ok},
        {Of("%o<Test.Dog>%", &Self), {},                     dog,                ok},
        {Of("%i8%o<Test.Animal>", &LegsOf),   {dog},         int64_t{4},         ok},
        {Of("%i8%o<Test.Animal>", &LegsOf),   {Variant()},   int64_t{-1},        ok},
        {Of("%i8%o<Test.Animal>", &LegsOf),   {weak},        Variant(),          cast},
        {Of("%i8%A1o<Test.Animal>", &Count),  {array},       int64_t{3},         ok},
        {Of("%i8%A1o<Test.Animal>", &Count),  {dog},         Variant(),          cast},
    };
    // clang-format on
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE("row " + std::to_string(i) + ": " + row.callee.invoker->SignatureText());
        Variant result;
        EXPECT_EQ(RaisedClassName([&] {
                      result =
                          row.callee.invoker->Invoke(row.callee.function, dog.get(), &row.args);
                  }),
                  row.raised);
        EXPECT_TRUE(SameVariant(result, row.result));
    }
}

}  // namespace
