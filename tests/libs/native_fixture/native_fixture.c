/* A shared library for the native-call tests: one export per kind of
 * argument, result and callback the type letters cover. It is built twice,
 * once without unwind tables, so that the tests show that no script error
 * ever tries to unwind through its frames. */
#include <pthread.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

int add3(int a, int b, int c) {
    return a + b + c;
}

int minus_one(void) {
    return -1;
}

/* Writes "a", "b", ... into the first n characters, and no terminator. */
void fill(char* buffer, int n) {
    for (int i = 0; i < n; ++i)
        buffer[i] = (char)('a' + i % 26);
}

const char* greeting(void) {
    return "hello";
}

const char* no_text(void) {
    return NULL;
}

const wchar_t* wide_greeting(void) {
    return L"h\u00e9llo \u2713";
}

int wide_length(const wchar_t* text) {
    return (int)wcslen(text);
}

void wide_reverse(wchar_t* text) {
    for (size_t i = 0, j = wcslen(text); i + 1 < j; ++i, --j) {
        const wchar_t swapped = text[i];
        text[i] = text[j - 1];
        text[j - 1] = swapped;
    }
}

/* More arguments than a call keeps without allocating. */
int nine(int a, int b, int c, int d, int e, int f, int g, int h, wchar_t* text) {
    text[0] = L'!';
    return a + b + c + d + e + f + g + h + (int)wcslen(text);
}

void set_int(int32_t* target, int value) {
    *target = value;
}

void set_double(double* target) {
    *target = 2.25;
}

intptr_t pass_pointer_sized(intptr_t value) {
    return value;
}

/* Calls back once per item with its index and text; answers the sum of
 * what the callback answered. */
typedef int (*item_callback)(int index, const char* text);

int each(int n, item_callback callback) {
    static const char* const names[] = {"zero", "one", "two", "three", "four"};
    int sum = 0;
    for (int i = 0; i < n; ++i)
        sum += callback(i, names[i % 5]);
    return sum;
}

/* One argument of every letter's native type. */
typedef intptr_t (*mixed_callback)(int i, const char* s, const wchar_t* w, void* v, intptr_t n,
                                   const char* p, void* c);

intptr_t call_mixed(mixed_callback callback) {
    static int cell;
    return callback(-1, "text", L"w\u00efde", &cell, (intptr_t)1 << 40, NULL, &cell);
}

/* The C library's qsort behind a frame of this library, so that a failing
 * comparator sits below a frame without unwind tables. */
void sort_records(void* base, size_t count, size_t width,
                  int (*compare)(const void*, const void*)) {
    qsort(base, count, width, compare);
}

struct thread_call {
    item_callback callback;
    int answer;
};

static void* call_on_thread(void* data) {
    struct thread_call* call = data;
    call->answer = call->callback(7, "thread");
    return NULL;
}

/* Calls back from a thread of its own, and answers what it answered. */
int each_on_thread(item_callback callback) {
    struct thread_call call = {callback, -5};
    pthread_t thread;
    if (pthread_create(&thread, NULL, call_on_thread, &call) != 0) return -6;
    pthread_join(thread, NULL);
    return call.answer;
}

/* Exported only under the name with a trailing A, as the 8-bit variants
 * of some platform functions are. */
int twiceA(int value) {
    return 2 * value;
}

/* A handle whose address needs all 64 bits. */
static char handle_object;

void* make_handle(void) {
    return &handle_object;
}

int use_handle(void* handle) {
    return handle == &handle_object;
}
