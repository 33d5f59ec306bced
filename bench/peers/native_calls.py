# 1 000 000 calls of a C function from a Python loop, and 1 000 000 callbacks
# from C into a Python function, through ctypes. Needs the native-call
# fixture library of the tests on LD_LIBRARY_PATH.
import ctypes

lib = ctypes.CDLL("libozra_native_fixture.so")
ITEM = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_int, ctypes.c_char_p)


def item(i, text):
    return 1


total = 0
for i in range(1, 1000001):
    total += lib.add3(i, 1, 2)
print(total, lib.each(1000000, ITEM(item)))
