#!/usr/bin/python3
"""Expected values of models.cases, computed independently of the C++ code with numpy.

Every least-squares solution here comes from numpy.linalg.lstsq on coordinates centred on their mean and
divided by a fixed 1e4 (the C++ fit scales by the points' own spread and solves by its own SVD); the
projective model is refined by Gauss-Newton steps, each a numpy lstsq, from the linear solution, and the
script checks that the gradient of the squared residuals vanishes at the result. The closest frame of a
projective model is integrated with a 400-node Gauss-Legendre rule each way (the C++ code uses 16 panels
of 8 nodes). Run:  /usr/bin/python3 tests/core/cases/models.py   and it prints the rows of models.cases
marked "(models.py)"; the world-file and gdaltransform rows come from GDAL's own tools (see the file).
"""

import numpy as np

W, H, TPP = 60000.0, 40000.0, 15.0
CORNERS = [(0.0, 0.0), (W, 0.0), (0.0, H), (W, H)]


def r(v):
    """The shortest text that reads back as the same double, as C++'s to_chars writes it."""
    text = repr(float(v))
    return text[:-2] if text.endswith(".0") else text


def affine(a0, a1, a2, b0, b1, b2):
    return lambda x, y: (a0 + x * a1 + y * a2, b0 + x * b1 + y * b2)


def projective(k):
    a0, a1, a2, b0, b1, b2, c0, c1, c2 = k
    return lambda x, y: ((a0 + x * a1 + y * a2) / (c0 + x * c1 + y * c2), (b0 + x * b1 + y * b2) / (c0 + x * c1 + y * c2))


def centred(points):
    p = np.array([(q[0], q[1]) for q in points], float)
    m = np.array([(q[2], q[3]) for q in points], float)
    pm, mm = p.mean(axis=0), m.mean(axis=0)
    return (p - pm) / 1e4, m - mm, pm, mm


def fit_helmert(points, handedness):
    p, m, pm, mm = centred(points)
    s = 1.0 if handedness == "map" else -1.0
    rows, rhs = [], []
    for (u, v), (X, Y) in zip(p, m):
        rows += [[u, s * v, 1, 0], [-s * v, u, 0, 1]]
        rhs += [X, Y]
    k, res, *_ = np.linalg.lstsq(np.array(rows), np.array(rhs), rcond=None)
    pp, q, e, f = k
    error = float(np.sum((np.array(rows) @ k - np.array(rhs)) ** 2))

    def model(x, y):
        u, v = (x - pm[0]) / 1e4, (y - pm[1]) / 1e4
        return (mm[0] + pp * u + s * q * v + e, mm[1] + q * u - s * pp * v + f)
    return model, error


def fit_affine(points):
    p, m, pm, mm = centred(points)
    a = np.column_stack([p[:, 0], p[:, 1], np.ones(len(p))])
    kx = np.linalg.lstsq(a, m[:, 0], rcond=None)[0]
    ky = np.linalg.lstsq(a, m[:, 1], rcond=None)[0]

    def model(x, y):
        u, v = (x - pm[0]) / 1e4, (y - pm[1]) / 1e4
        return (mm[0] + kx[0] * u + kx[1] * v + kx[2], mm[1] + ky[0] * u + ky[1] * v + ky[2])
    return model


def fit_projective(points):
    p, m, pm, mm = centred(points)

    def evaluate(h, u, v):
        d = h[6] * u + h[7] * v + 1
        return (h[0] * u + h[1] * v + h[2]) / d, (h[3] * u + h[4] * v + h[5]) / d, d

    rows, rhs = [], []
    for (u, v), (X, Y) in zip(p, m):
        rows += [[u, v, 1, 0, 0, 0, -u * X, -v * X], [0, 0, 0, u, v, 1, -u * Y, -v * Y]]
        rhs += [X, Y]
    h = np.linalg.lstsq(np.array(rows), np.array(rhs), rcond=None)[0]
    for _ in range(100):
        jac, res = [], []
        for (u, v), (X, Y) in zip(p, m):
            fu, fv, d = evaluate(h, u, v)
            jac += [[u / d, v / d, 1 / d, 0, 0, 0, -u * fu / d, -v * fu / d],
                    [0, 0, 0, u / d, v / d, 1 / d, -u * fv / d, -v * fv / d]]
            res += [X - fu, Y - fv]
        step = np.linalg.lstsq(np.array(jac), np.array(res), rcond=None)[0]
        h = h + step
        if np.max(np.abs(step)) < 1e-15 * np.max(np.abs(h)):
            break
    gradient = np.array(jac).T @ np.array(res)
    assert np.linalg.norm(gradient) < 1e-12 * np.linalg.norm(jac) * np.linalg.norm(res), gradient

    def model(x, y):
        fu, fv, _ = evaluate(h, (x - pm[0]) / 1e4, (y - pm[1]) / 1e4)
        return mm[0] + fu, mm[1] + fv
    return model


def invert(model, X, Y):
    """The picture position of (X, Y) by Newton's method on the model itself (no formula shared with C++)."""
    x, y = W / 2, H / 2
    for _ in range(60):
        fx, fy = model(x, y)
        e = 1e-3
        jx = [(model(x + e, y)[0] - model(x - e, y)[0]) / (2 * e), (model(x, y + e)[0] - model(x, y - e)[0]) / (2 * e)]
        jy = [(model(x + e, y)[1] - model(x - e, y)[1]) / (2 * e), (model(x, y + e)[1] - model(x, y - e)[1]) / (2 * e)]
        dx, dy = np.linalg.solve(np.array([jx, jy]), np.array([X - fx, Y - fy]))
        x, y = x + dx, y + dy
    return x, y


def points_text(points):
    return "; ".join(",".join(r(v) if not isinstance(v, str) else v for v in q) for q in points)


def corners_text(model):
    return " ".join(f"{r(X)} {r(Y)}" for X, Y in (model(x, y) for x, y in CORNERS))


def rms(model, points):
    on = [q for q in points if len(q) == 4]
    d = [np.subtract((q[2], q[3]), model(q[0], q[1])) for q in on]
    px = [np.subtract(invert(model, q[2], q[3]), (q[0], q[1])) / TPP for q in on]
    return f"{r(np.sqrt(np.mean([e @ e for e in d])))} {r(np.sqrt(np.mean([e @ e for e in px])))}"


def fit_row(name, kind, handedness, points, model, tol):
    print(f"{name} | fit | {kind} | 15 60000 40000 {handedness} | {points_text(points)} | {corners_text(model)} | "
          f"{rms(model, points)} | {tol} | ok")


def residual_row(name, kind, points, model, tol):
    texts = []
    for q in points:
        dX, dY = np.subtract((q[2], q[3]), model(q[0], q[1]))
        px, py = np.subtract(invert(model, q[2], q[3]), (q[0], q[1])) / TPP
        texts.append(f"{r(dX)} {r(dY)} {r(px)} {r(py)}")
    print(f"{name} | residuals | {kind} | 15 60000 40000 map | {points_text(points)} | {'; '.join(texts)} | {tol} | ok")


def noisy(truth, places, seed, sigma):
    rng = np.random.RandomState(seed)
    out = []
    for x, y in places:
        X, Y = truth(x, y)
        out.append((x, y, round(X + rng.normal(0, sigma), 3), round(Y + rng.normal(0, sigma), 3)))
    return out


def exact(truth, places):
    return [(x, y) + tuple(truth(x, y)) for x, y in places]


def thickness(p, unit):
    """The largest distance from the line through the points' centre along their principal direction."""
    p = np.array(p, float)
    c = p - p.mean(axis=0)
    normal = np.linalg.svd(c)[2][-1]
    return np.max(np.abs(c @ normal)) / unit


def frame_row(name, text, model):
    # The least-squares line in x through the y-average of X over the picture, and likewise for Y.
    # Integrated relative to the value at the centre, so millions of metres cost no digits in the sums.
    cx, cy = model(W / 2, H / 2)
    relative = model
    model = lambda x, y: (relative(x, y)[0] - cx, relative(x, y)[1] - cy)
    t, w = np.polynomial.legendre.leggauss(400)
    xs, wx = (t + 1) * W / 2, w * W / 2
    ys, wy = (t + 1) * H / 2, w * H / 2
    gx = np.array([sum(wy[j] * model(x, ys[j])[0] for j in range(len(ys))) / H for x in xs])
    gy = np.array([sum(wx[i] * model(xs[i], y)[1] for i in range(len(xs))) / W for y in ys])

    def ends(nodes, weights, g, length):
        u = nodes - length / 2
        mean = weights @ g / length
        slope = (weights * u) @ g / ((weights * u) @ u)
        return mean - slope * length / 2, mean + slope * length / 2
    (L, R), (T, B) = ends(xs, wx, gx, W), ends(ys, wy, gy, H)
    L, R, T, B = L + cx, R + cx, T + cy, B + cy
    captions = ("EAST" if R > L else "WEST") + " " + ("NORTH" if B < T else "SOUTH")
    print(f"{name} | frame | {text} | 60000 40000 | {r(L)} {r(R)} {r(T)} {r(B)} | 1e-9 | ok | {captions}")


HELMERT = affine(1000, 0.03, 0.04, 9000, 0.04, -0.03)          # a map: Y a quarter turn counter-clockwise
SOUTHERN = affine(8, 4e-6, -3e-6, 33, 3e-6, 4e-6)              # like the picture: values growing downward
UTM = affine(500000, 0.06, 0.011, 5200000, 0.009, -0.07)
DEGREES = affine(7.5, 1.2e-6, 1e-7, 46.9, -8e-8, -9e-7)
PERSPECTIVE = (2000, 0.05, 0.01, 8000, 0.005, -0.045, 1, 2e-6, -3e-6)
PHOTO = projective(PERSPECTIVE)

SPOTS = [(6000, 4000), (54000, 36000), (50000, 6000), (9000, 33000), (30000, 21000), (41000, 12000),
         (17000, 27000), (25000, 5000), (46000, 31000), (3000, 19000)]

print("# Exact points: the model comes back (models.py)")
fit_row("helmert two points", "helmert", "map", exact(HELMERT, SPOTS[:2]), HELMERT, "1e-9")
two = exact(HELMERT, SPOTS[:2])
fit_row("helmert two points, hint picture", "helmert", "picture", two, fit_helmert(two, "picture")[0], "1e-9")
fit_row("helmert points decide over hint", "helmert", "picture", exact(HELMERT, SPOTS[:5]), HELMERT, "1e-9")
fit_row("helmert three on a line, hint decides", "helmert", "map", exact(HELMERT, [(6000, 4000), (30000, 20000),
                                                                                (54000, 36000)]), HELMERT, "1e-9")
fit_row("a switched-off point may be anything", "helmert", "map",
        exact(HELMERT, SPOTS[:2]) + [(float("nan"), 0, float("inf"), 0, "off")], HELMERT, "1e-9")
fit_row("helmert values growing downward", "helmert", "map", exact(SOUTHERN, SPOTS[:4]), SOUTHERN, "1e-9")
fit_row("affine three points utm", "affine", "map", exact(UTM, SPOTS[:3]), UTM, "1e-7")
fit_row("affine six points degrees", "affine", "map", exact(DEGREES, SPOTS[:6]), DEGREES, "1e-9")
fit_row("projective four points", "projective", "map", exact(PHOTO, SPOTS[:4]), PHOTO, "1e-9")
fit_row("projective nine points", "projective", "map", exact(PHOTO, SPOTS[:9]), PHOTO, "1e-9")

print("# Noisy points: the least-squares solution (models.py)")
pts = noisy(HELMERT, SPOTS[:8], 1, 0.8)
model_map, e_map = fit_helmert(pts, "map")
model_pic, e_pic = fit_helmert(pts, "picture")
assert e_map < e_pic
fit_row("helmert eight noisy", "helmert", "picture", pts, model_map, "1e-9")
pts = noisy(UTM, SPOTS[:8], 2, 0.8)
fit_row("affine eight noisy utm", "affine", "map", pts, fit_affine(pts), "1e-7")
pts = noisy(PHOTO, SPOTS, 3, 0.5)
fit_row("projective ten noisy", "projective", "map", pts, fit_projective(pts), "1e-9")
pts = noisy(HELMERT, SPOTS[:7], 4, 0.5)
outlier = (pts[3][0], pts[3][1], pts[3][2] + 400, pts[3][3], "off")
pts_off = pts[:3] + [outlier] + pts[4:]
enabled = pts[:3] + pts[4:]
fit_row("affine switched-off outlier", "affine", "map", pts_off, fit_affine(enabled), "1e-9")
residual_row("affine residuals, off point too", "affine", pts_off, fit_affine(enabled), "1e-9")
pts = noisy(PHOTO, SPOTS[:6], 5, 0.5)
residual_row("projective residuals", "projective", pts, fit_projective(pts), "1e-9")

print("# Refusals: the numbers that explain them, to six digits (models.py)")


def g(v):
    return "%.6g" % v


def spread(a):
    a = np.array(a, float)
    return np.sqrt(np.mean(np.sum((a - a.mean(axis=0)) ** 2, axis=1)))


def map_limit(points):
    """Half a pixel in map units, by the points' ratio of map spread to picture spread."""
    return 7.5 * spread([q[2:4] for q in points]) / spread([q[:2] for q in points])


def refusal_row(name, kind, points, text):
    print(f"{name} | fit | {kind} | 15 60000 40000 map | {points_text(points)} | {text}")


pts = [(6000, 4000, 1340, 9120), (6005, 4000, 1341, 9120), (54000, 36000, 4060, 10080)]
refusal_row("same place in the picture", "affine", pts, f"!RepeatedPoints picture 0 1 {g(5 / 15)} 0.5")
pts = [(6000, 4000, 1340, 9120), (6007.5, 4000, 1341, 9120), (54000, 36000, 4060, 10080)]
refusal_row("half a pixel apart is one place", "affine", pts, "!RepeatedPoints picture 0 1 0.5 0.5")
fit_row("a little more is two places", "affine", "map", exact(HELMERT, [(6000, 4000), (6007.6, 4000), (54000, 36000),
                                                                       (50000, 6000)]), HELMERT, "1e-9")
pts = [(6000, 4000, 1340, 9120), (30000, 20000, 1340, 9120), (54000, 36000, 4060, 10080), (50000, 6000, 2740, 10820)]
refusal_row("same map coordinates twice", "helmert", pts, f"!RepeatedPoints map 0 1 0 {g(map_limit(pts))}")
pts = [(6000, 4000, 1000, 9000), (30000, 20000, 1500, 8000), (54000, 36004, 2000, 7000)]
refusal_row("on a line in the picture", "affine", pts,
            f"!CollinearPoints picture 0 1 2 {g(thickness([q[:2] for q in pts], TPP))} 0.5")
pts = [(6000, 4000, 1000, 9000), (54000, 4000, 3000, 9000), (30000, 36000, 2000, 9000.001)]
refusal_row("on a line on the map", "affine", pts,
            f"!CollinearPoints map 0 1 2 {g(thickness([q[2:] for q in pts], 1))} {g(map_limit(pts))}")
pts = exact(PHOTO, [(6000, 4000), (30000, 20001), (54000, 36000), (50000, 6000)])
refusal_row("three of four on a line", "projective", pts,
            f"!CollinearPoints picture 0 1 2 {g(thickness([q[:2] for q in pts[:3]], TPP))} 0.5")
pts = exact(PHOTO, [(3000, 2000), (15000, 10000), (27000, 18000.5), (39000, 26000), (51000, 34000), (50000, 6000)])
refusal_row("all but one on a line", "projective", pts,
            f"!CollinearPoints picture 0 1 2 3 4 {g(thickness([q[:2] for q in pts[:5]], TPP))} 0.5")
pts = [(0, 0, 0, 0), (1e10, 0, 5e8, 0), (5e9, 20, 2.5e8, 1)]
p = np.array([q[:2] for q in pts], float)
n = (p - p.mean(axis=0)) * np.sqrt(2) / spread(p)
refusal_row("a sliver ten million pixels long", "affine", pts,
            f"!IllConditioned {g(np.linalg.cond(np.column_stack([n, np.ones(3)])))} 1e+08")
tilted = projective((1000, 0.05, 0, 9000, 0, -0.05, 1, -1 / 50000, 0))
pts = exact(tilted, [(6000, 4000), (30000, 4000), (6000, 36000), (30000, 36000)])
refusal_row("horizon across the picture", "projective", pts,
            f"!HorizonInPicture {g(50000 / TPP)} 0 {g(50000 / TPP)} {g(H / TPP)}")

print("# Closest frames (models.py)")
frame_row("affine utm", "affine 500000 0.06 0.011 5200000 0.009 -0.07", UTM)
frame_row("helmert map", "helmert 1000 0.03 0.04 9000 0.04 -0.03", HELMERT)
frame_row("values growing downward", "helmert 8 4e-6 -3e-6 33 3e-6 4e-6", SOUTHERN)
frame_row("upside down", "helmert 5000 -0.05 0 3000 0 0.05", affine(5000, -0.05, 0, 3000, 0, 0.05))
frame_row("photograph", "projective " + " ".join(r(v) for v in PERSPECTIVE), PHOTO)

print("# Edges model against Pixel2Map's order of evaluation (models.py)")
for name, notation, texts, (L, R_, T, B), (x, y), (w, h) in [
        ("order of evaluation", "dd", "0.1 0.7 0 1", (0.1, 0.7, 0, 1), (3, 1), (11, 3)),
        ("odd canvas", "m", "10000 15000 30000 25000", (10000, 15000, 30000, 25000), (1234.5, 987.25), (4095, 2047)),
        ("colon texts", "dms", "8:00:00 9:00:00 47:00:00 46:00:00", (8, 9, 47, 46), (1, 2047), (4096, 2048)),
        ("values falling", "dd", "7.3 7.1 33.3 33.9", (7.3, 7.1, 33.3, 33.9), (77, 99), (3001, 1999))]:
    X, Y = L + x * ((R_ - L) / w), T + y * ((B - T) / h)
    print(f"{name} | edges | {notation} | {texts} | {r(x)} {r(y)} | {w} {h} | {r(X)} {r(Y)} | {r(X)} {r(Y)}")
