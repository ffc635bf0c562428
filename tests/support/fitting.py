"""The size a picture is fitted to in an area, as the saver fits it: the
whole picture inside the area, the aspect kept, rounded to the nearest pixel;
a picture that already fits keeps its size. Shared by the loader's fixture
maker and the end-to-end photo tests."""


def fitted(size, area):
    w, h = size
    aw, ah = area
    if w <= aw and h <= ah:
        return size
    if w * ah >= h * aw:
        return aw, max(1, min(ah, (2 * h * aw + w) // (2 * w)))
    return max(1, min(aw, (2 * w * ah + h) // (2 * h))), ah
