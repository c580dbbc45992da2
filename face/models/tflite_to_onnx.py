#!/usr/bin/python3
"""Turns a TFLite face model from an npm tarball into an ONNX file that
OpenCV's DNN module reads.

    tflite_to_onnx.py TARBALL MEMBER OUTPUT.onnx

MEMBER is the path of the .tflite file inside the tarball, or of a packed
asset file followed by ':' and the input shape the wanted model takes
(e.g. package/assets.data:1x192x192x3): such a file holds several TFLite
files back to back, each found by its FlatBuffer identifier; the first
with that input whose operators are all known here is taken.

The graph is rewritten for NCHW: the input becomes 1 x C x H x W, every
four-dimensional tensor is kept as N x C x H x W, and layout-bound operators
(reshape, concatenation, padding) are turned accordingly. Weights stored as
float16 behind DEQUANTIZE are widened to float32 constants. The custom
operator Convolution2DTransposeBias becomes ConvTranspose with its bias.
Only the operators the three face models use are known; any other stops the
conversion with its name.
"""

import os
import struct
import sys
import tarfile

import numpy as np
import onnx
from onnx import TensorProto, helper, numpy_helper


class Table:
    """A FlatBuffer table: fields by their index in the schema."""

    def __init__(self, buf, pos):
        self.buf = buf
        self.pos = pos
        vtable = pos - struct.unpack_from("<i", buf, pos)[0]
        size = struct.unpack_from("<H", buf, vtable)[0]
        self.offsets = [struct.unpack_from("<H", buf, vtable + 4 + 2 * i)[0]
                        for i in range((size - 4) // 2)]

    def _field(self, index):
        if index >= len(self.offsets) or self.offsets[index] == 0:
            return None
        return self.pos + self.offsets[index]

    def scalar(self, index, fmt, default=0):
        at = self._field(index)
        return default if at is None else struct.unpack_from("<" + fmt, self.buf, at)[0]

    def _target(self, index):
        at = self._field(index)
        return None if at is None else at + struct.unpack_from("<I", self.buf, at)[0]

    def table(self, index):
        at = self._target(index)
        return None if at is None else Table(self.buf, at)

    def vector(self, index, fmt):
        at = self._target(index)
        if at is None:
            return []
        n = struct.unpack_from("<I", self.buf, at)[0]
        return list(struct.unpack_from("<%d%s" % (n, fmt), self.buf, at + 4))

    def bytes(self, index):
        at = self._target(index)
        if at is None:
            return b""
        n = struct.unpack_from("<I", self.buf, at)[0]
        return bytes(self.buf[at + 4:at + 4 + n])

    def string(self, index):
        return self.bytes(index).decode("utf-8")

    def tables(self, index):
        at = self._target(index)
        if at is None:
            return []
        n = struct.unpack_from("<I", self.buf, at)[0]
        out = []
        for i in range(n):
            elem = at + 4 + 4 * i
            out.append(Table(self.buf, elem + struct.unpack_from("<I", self.buf, elem)[0]))
        return out


# Field indices and enumerations of TensorFlow Lite's schema.fbs.
MODEL_OPERATOR_CODES, MODEL_SUBGRAPHS, MODEL_BUFFERS = 1, 2, 4
OPCODE_DEPRECATED_BUILTIN, OPCODE_CUSTOM, OPCODE_BUILTIN = 0, 1, 3
SUBGRAPH_TENSORS, SUBGRAPH_INPUTS, SUBGRAPH_OUTPUTS, SUBGRAPH_OPERATORS = 0, 1, 2, 3
TENSOR_SHAPE, TENSOR_TYPE, TENSOR_BUFFER, TENSOR_NAME = 0, 1, 2, 3
OP_OPCODE, OP_INPUTS, OP_OUTPUTS, OP_OPTIONS, OP_CUSTOM_OPTIONS = 0, 1, 2, 4, 5
BUFFER_DATA = 0

NUMPY_TYPE = {0: np.float32, 1: np.float16, 2: np.int32, 3: np.uint8, 4: np.int64, 9: np.int8}

BUILTIN = {0: "ADD", 1: "AVERAGE_POOL_2D", 2: "CONCATENATION", 3: "CONV_2D",
           4: "DEPTHWISE_CONV_2D", 6: "DEQUANTIZE", 9: "FULLY_CONNECTED", 14: "LOGISTIC",
           17: "MAX_POOL_2D", 18: "MUL", 19: "RELU", 21: "RELU6", 22: "RESHAPE",
           23: "RESIZE_BILINEAR", 32: "CUSTOM", 34: "PAD", 54: "PRELU", 117: "HARD_SWISH"}

KNOWN = set(BUILTIN.values()) - {"CUSTOM"} | {"Convolution2DTransposeBias"}
PADDING_SAME = 0
ACTIVATION = {0: None, 1: "Relu", 3: "Relu6"}


class Model:
    def __init__(self, buf):
        root = Table(buf, struct.unpack_from("<I", buf, 0)[0])
        self.opcodes = []
        for code in root.tables(MODEL_OPERATOR_CODES):
            builtin = max(code.scalar(OPCODE_DEPRECATED_BUILTIN, "b"), code.scalar(OPCODE_BUILTIN, "i"))
            name = BUILTIN.get(builtin, "builtin %d" % builtin)
            self.opcodes.append(code.string(OPCODE_CUSTOM) if name == "CUSTOM" else name)
        self.buffers = [b.bytes(BUFFER_DATA) for b in root.tables(MODEL_BUFFERS)]
        graph = root.tables(MODEL_SUBGRAPHS)[0]
        self.tensors = graph.tables(SUBGRAPH_TENSORS)
        self.inputs = graph.vector(SUBGRAPH_INPUTS, "i")
        self.outputs = graph.vector(SUBGRAPH_OUTPUTS, "i")
        self.operators = graph.tables(SUBGRAPH_OPERATORS)

    def shape(self, t):
        return self.tensors[t].vector(TENSOR_SHAPE, "i")

    def name(self, t):
        return self.tensors[t].string(TENSOR_NAME)

    def constant(self, t):
        """The tensor's stored value, or None for an activation."""
        tensor = self.tensors[t]
        data = self.buffers[tensor.scalar(TENSOR_BUFFER, "I")]
        if not data:
            return None
        kind = NUMPY_TYPE[tensor.scalar(TENSOR_TYPE, "b")]
        return np.frombuffer(data, dtype=kind).reshape(self.shape(t))


def find_models(data):
    """Start offsets of the TFLite files packed in one asset file."""
    starts, at = [], data.find(b"TFL3")
    while at >= 0:
        if at >= 4:
            starts.append(at - 4)
        at = data.find(b"TFL3", at + 1)
    return starts


def read_model(tarball, member):
    wanted_shape = None
    if ":" in member:
        member, shape = member.split(":")
        wanted_shape = [int(v) for v in shape.split("x")]
    with tarfile.open(tarball) as tar:
        data = tar.extractfile(member).read()
    if wanted_shape is None:
        return Model(data)
    for start in find_models(data):
        try:
            model = Model(memoryview(data)[start:])
        except (struct.error, IndexError, UnicodeDecodeError):
            continue
        # The first of the right input whose operators are all known.
        if model.shape(model.inputs[0]) == wanted_shape and set(model.opcodes) <= KNOWN:
            return model
    sys.exit("%s: no TFLite model takes an input of %s" % (member, wanted_shape))


class Converter:
    def __init__(self, model):
        self.m = model
        self.nodes = []
        self.initializers = []
        self.values = {}     # float constants by tensor index, after DEQUANTIZE
        self.nchw = set()    # activations held as N x C x H x W
        self.count = 0

    def fresh(self, stem):
        self.count += 1
        return "%s_%d" % (stem, self.count)

    def name(self, t):
        return "t%d" % t

    def const(self, array, stem="c"):
        name = self.fresh(stem)
        self.initializers.append(numpy_helper.from_array(np.ascontiguousarray(array), name))
        return name

    def value(self, t):
        if t in self.values:
            return self.values[t]
        v = self.m.constant(t)
        return None if v is None else v.astype(np.float32) if v.dtype == np.float16 else v

    def operand(self, t):
        """The ONNX name of an input, as a constant where the tensor is one."""
        v = self.value(t)
        if v is None:
            return self.name(t)
        if v.ndim == 4:
            v = v.transpose(0, 3, 1, 2)
        elif v.ndim in (1, 3) and self.rank(t) == 1:
            # A per-channel vector broadcast over N x C x H x W.
            v = v.reshape(-1, 1, 1)
        return self.const(v.astype(np.float32) if v.dtype == np.float64 else v)

    def rank(self, t):
        return len(self.m.shape(t))

    def node(self, op, inputs, outputs, **attrs):
        self.nodes.append(helper.make_node(op, inputs, outputs, **attrs))

    def activation(self, out, fused):
        if fused == 0:
            return self.name(out)
        if fused not in ACTIVATION:
            sys.exit("fused activation %d is not known" % fused)
        return self.fresh("pre")

    def finish(self, pre, out, fused):
        if fused == 1:
            self.node("Relu", [pre], [self.name(out)])
        elif fused == 3:
            self.relu6(pre, self.name(out))

    def relu6(self, source, target):
        # relu(x) - relu(x - 6): OpenCV 4.6 reads Clip only with the bounds as
        # attributes, which ONNX gave up in opset 11.
        low, shifted, high = self.fresh("low"), self.fresh("shifted"), self.fresh("high")
        self.node("Relu", [source], [low])
        self.node("Sub", [source, self.const(np.float32(6))], [shifted])
        self.node("Relu", [shifted], [high])
        self.node("Sub", [low, high], [target])

    def same_pads(self, size, kernel, stride, dilation=1):
        pads = []
        for n, k, s in zip(size, kernel, stride):
            k = (k - 1) * dilation + 1
            out = (n + s - 1) // s
            total = max((out - 1) * s + k - n, 0)
            pads.append((total // 2, total - total // 2))
        return [pads[0][0], pads[1][0], pads[0][1], pads[1][1]]

    def conv(self, op, opts, depthwise):
        i, w = op.vector(OP_INPUTS, "i")[:2]
        b = op.vector(OP_INPUTS, "i")[2] if len(op.vector(OP_INPUTS, "i")) > 2 else -1
        out = op.vector(OP_OUTPUTS, "i")[0]
        padding, sw, sh = opts.scalar(0, "b"), opts.scalar(1, "i"), opts.scalar(2, "i")
        fused = opts.scalar(4 if depthwise else 3, "b")
        dw, dh = opts.scalar(5 if depthwise else 4, "i", 1), opts.scalar(6 if depthwise else 5, "i", 1)
        weights = self.value(w)
        if depthwise:    # 1 x kh x kw x C  ->  C x 1 x kh x kw
            weights = weights.transpose(3, 0, 1, 2)
        else:            # O x kh x kw x I  ->  O x I x kh x kw
            weights = weights.transpose(0, 3, 1, 2)
        _, h, wd, _ = self.m.shape(i)
        kh, kw = weights.shape[2:]
        pads = self.same_pads((h, wd), (kh, kw), (sh, sw), dh) if padding == PADDING_SAME else [0] * 4
        inputs = [self.name(i), self.const(weights, "w")]
        if b >= 0:
            inputs.append(self.const(self.value(b), "b"))
        pre = self.activation(out, fused)
        attrs = dict(kernel_shape=[kh, kw], strides=[sh, sw], pads=pads, dilations=[dh, dw])
        if depthwise:
            attrs["group"] = weights.shape[0]
        self.node("Conv", inputs, [pre], **attrs)
        self.finish(pre, out, fused)

    def transpose_conv_bias(self, op):
        i, w, b = op.vector(OP_INPUTS, "i")[:3]
        out = op.vector(OP_OUTPUTS, "i")[0]
        # The custom options are the raw parameter struct: padding (1 same,
        # 2 valid), stride w, stride h.
        padding, sw, sh = struct.unpack_from("<iii", op.bytes(OP_CUSTOM_OPTIONS))
        weights = self.value(w).transpose(3, 0, 1, 2)   # O x kh x kw x I -> I x O x kh x kw
        kh, kw = weights.shape[2:]
        _, h, wd, _ = self.m.shape(i)
        _, oh, ow, _ = self.m.shape(out)
        pads = [0] * 4
        if padding == 1:
            th, tw = max((h - 1) * sh + kh - oh, 0), max((wd - 1) * sw + kw - ow, 0)
            pads = [th // 2, tw // 2, th - th // 2, tw - tw // 2]
        self.node("ConvTranspose", [self.name(i), self.const(weights, "w"), self.const(self.value(b), "b")],
                  [self.name(out)], kernel_shape=[kh, kw], strides=[sh, sw], pads=pads)

    def pool(self, op, opts, kind):
        i, out = op.vector(OP_INPUTS, "i")[0], op.vector(OP_OUTPUTS, "i")[0]
        padding, sw, sh = opts.scalar(0, "b"), opts.scalar(1, "i"), opts.scalar(2, "i")
        fw, fh, fused = opts.scalar(3, "i"), opts.scalar(4, "i"), opts.scalar(5, "b")
        _, h, wd, _ = self.m.shape(i)
        pads = self.same_pads((h, wd), (fh, fw), (sh, sw)) if padding == PADDING_SAME else [0] * 4
        pre = self.activation(out, fused)
        self.node(kind, [self.name(i)], [pre], kernel_shape=[fh, fw], strides=[sh, sw], pads=pads)
        self.finish(pre, out, fused)

    def binary(self, op, opts, kind):
        a, b = op.vector(OP_INPUTS, "i")[:2]
        out = op.vector(OP_OUTPUTS, "i")[0]
        fused = opts.scalar(0, "b") if opts else 0
        pre = self.activation(out, fused)
        self.node(kind, [self.operand(a), self.operand(b)], [pre])
        self.finish(pre, out, fused)

    def nhwc(self, t):
        """The activation as N x H x W x C, for operators that see the layout."""
        if self.rank(t) != 4:
            return self.name(t)
        out = self.fresh("nhwc")
        self.node("Transpose", [self.name(t)], [out], perm=[0, 2, 3, 1])
        return out

    def convert_op(self, op):
        kind = self.m.opcodes[op.scalar(OP_OPCODE, "I")]
        ins, outs = op.vector(OP_INPUTS, "i"), op.vector(OP_OUTPUTS, "i")
        opts = op.table(OP_OPTIONS)
        if kind == "DEQUANTIZE":
            v = self.m.constant(ins[0])
            if v is None:
                sys.exit("DEQUANTIZE of an activation is not known")
            self.values[outs[0]] = v.astype(np.float32)
        elif kind in ("CONV_2D", "DEPTHWISE_CONV_2D"):
            self.conv(op, opts, kind == "DEPTHWISE_CONV_2D")
        elif kind == "Convolution2DTransposeBias":
            self.transpose_conv_bias(op)
        elif kind == "MAX_POOL_2D":
            self.pool(op, opts, "MaxPool")
        elif kind == "AVERAGE_POOL_2D":
            self.pool(op, opts, "AveragePool")
        elif kind == "ADD":
            self.binary(op, opts, "Add")
        elif kind == "MUL":
            self.binary(op, opts, "Mul")
        elif kind == "RELU":
            self.node("Relu", [self.name(ins[0])], [self.name(outs[0])])
        elif kind == "RELU6":
            self.relu6(self.name(ins[0]), self.name(outs[0]))
        elif kind == "LOGISTIC":
            self.node("Sigmoid", [self.name(ins[0])], [self.name(outs[0])])
        elif kind == "HARD_SWISH":
            self.node("HardSwish", [self.name(ins[0])], [self.name(outs[0])])
        elif kind == "PRELU":
            slope = self.value(ins[1]).reshape(-1, 1, 1)
            self.node("PRelu", [self.name(ins[0]), self.const(slope, "slope")], [self.name(outs[0])])
        elif kind == "PAD":
            paddings = self.value(ins[1])   # rank x 2, NHWC
            order = [0, 3, 1, 2] if self.rank(ins[0]) == 4 else range(self.rank(ins[0]))
            pads = [int(paddings[d][0]) for d in order] + [int(paddings[d][1]) for d in order]
            self.node("Pad", [self.name(ins[0]), self.const(np.array(pads, np.int64))],
                      [self.name(outs[0])], mode="constant")
        elif kind == "CONCATENATION":
            axis = opts.scalar(0, "i")
            rank = self.rank(outs[0])
            axis = axis % rank
            if rank == 4:
                axis = [0, 2, 3, 1][axis]
            self.node("Concat", [self.name(t) for t in ins], [self.name(outs[0])], axis=axis)
        elif kind == "RESHAPE":
            # The batch stays free (0: as the input's), so that several
            # images can go through in one run.
            shape = np.array([0] + self.m.shape(outs[0])[1:], np.int64)
            source = self.nhwc(ins[0])
            if len(shape) == 4:
                flat = self.fresh("reshaped")
                self.node("Reshape", [source, self.const(shape)], [flat])
                self.node("Transpose", [flat], [self.name(outs[0])], perm=[0, 3, 1, 2])
            else:
                self.node("Reshape", [source, self.const(shape)], [self.name(outs[0])])
        elif kind == "RESIZE_BILINEAR":
            _, oh, ow, _ = self.m.shape(outs[0])
            _, h, w, _ = self.m.shape(ins[0])
            scales = np.array([1, 1, oh / h, ow / w], np.float32)
            mode = "align_corners" if opts.scalar(2, "b") else \
                "half_pixel" if opts.scalar(3, "b") else "asymmetric"
            self.node("Resize", [self.name(ins[0]), self.const(np.zeros(0, np.float32)),
                                 self.const(scales)], [self.name(outs[0])], mode="linear",
                      coordinate_transformation_mode=mode)
        else:
            sys.exit("operator %s is not known" % kind)

    def convert(self):
        for op in self.m.operators:
            self.convert_op(op)
        inputs, outputs = [], []
        for t in self.m.inputs:
            n, h, w, c = self.m.shape(t)
            inputs.append(helper.make_tensor_value_info(self.name(t), TensorProto.FLOAT, [n, c, h, w]))
        for t in self.m.outputs:
            shape = self.m.shape(t)
            if len(shape) == 4:
                shape = [shape[0], shape[3], shape[1], shape[2]]
            outputs.append(helper.make_tensor_value_info(self.name(t), TensorProto.FLOAT, shape))
        graph = helper.make_graph(self.nodes, "quorlo", inputs, outputs, self.initializers)
        model = helper.make_model(graph, producer_name="quorlo",
                                  opset_imports=[helper.make_opsetid("", 14)])
        model.ir_version = 7
        onnx.checker.check_model(model)
        return model


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    tarball, member, output = argv[1:]
    model = read_model(tarball, member)
    onnx_model = Converter(model).convert()
    # Written whole under another name first: an interrupted build leaves no
    # half model that a later build would take as done.
    with open(output + ".tmp", "wb") as f:
        f.write(onnx_model.SerializeToString())
    os.replace(output + ".tmp", output)


if __name__ == "__main__":
    main(sys.argv)
