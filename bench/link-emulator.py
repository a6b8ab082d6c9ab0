#!/usr/bin/env python3
"""An internet link between a client and a service on this machine.

Relays TCP connections from a local port to the service's port through an
emulated link: a one-way delay each way, one bottleneck of a given rate that
every connection's uploads share, and slow start (each connection may have
a window of unacknowledged bytes in flight that starts at ten segments and
grows by what is acknowledged, an acknowledgement coming back one delay
after the bytes arrive). A connection's handshake costs a round trip before
its first byte leaves. Prints the port it listens on, then relays until
killed.
    python3 link-emulator.py --target PORT --delay-ms 25 --rate-mbit 20
"""
import argparse
import asyncio
import time

SEGMENT = 1460


class Link:
    def __init__(self, rate_bytes, delay):
        self.rate = rate_bytes
        self.delay = delay
        self.free_at = 0.0

    def depart(self, size):
        """When the bottleneck has sent these bytes, after those before them."""
        now = time.monotonic()
        self.free_at = max(now, self.free_at) + size / self.rate
        return self.free_at


async def deliver_in_order(queue, writer):
    while True:
        item = await queue.get()
        if item is None:
            break
        at, data = item
        wait = at - time.monotonic()
        if wait > 0:
            await asyncio.sleep(wait)
        writer.write(data)
        await writer.drain()
    if writer.can_write_eof():
        writer.write_eof()


async def upstream(reader, link, queue, loop):
    window = 10 * SEGMENT
    in_flight = 0
    acked = asyncio.Event()

    def ack(size):
        nonlocal in_flight, window
        in_flight -= size
        window += size
        acked.set()

    while True:
        while in_flight >= window:
            acked.clear()
            await acked.wait()
        data = await reader.read(min(65536, window - in_flight))
        if not data:
            break
        in_flight += len(data)
        arrive = link.depart(len(data)) + link.delay
        queue.put_nowait((arrive, data))
        loop.call_at(loop.time() + (arrive + link.delay - time.monotonic()), ack, len(data))
    queue.put_nowait(None)


async def downstream(reader, delay, queue):
    while True:
        data = await reader.read(65536)
        if not data:
            break
        queue.put_nowait((time.monotonic() + delay, data))
    queue.put_nowait(None)


async def relay(client_reader, client_writer, args, link):
    loop = asyncio.get_running_loop()
    # The handshake: one round trip before the client's first byte leaves.
    await asyncio.sleep(2 * link.delay)
    try:
        server_reader, server_writer = await asyncio.open_connection("127.0.0.1", args.target)
    except OSError:
        client_writer.close()
        return
    up, down = asyncio.Queue(), asyncio.Queue()
    tasks = [
        asyncio.create_task(upstream(client_reader, link, up, loop)),
        asyncio.create_task(deliver_in_order(up, server_writer)),
        asyncio.create_task(downstream(server_reader, link.delay, down)),
        asyncio.create_task(deliver_in_order(down, client_writer)),
    ]
    try:
        await asyncio.gather(*tasks)
    except (ConnectionError, OSError):
        pass
    finally:
        for task in tasks:
            task.cancel()
        server_writer.close()
        client_writer.close()


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--target", type=int, required=True)
    parser.add_argument("--delay-ms", type=float, default=25)
    parser.add_argument("--rate-mbit", type=float, default=20)
    args = parser.parse_args()
    link = Link(args.rate_mbit * 1e6 / 8, args.delay_ms / 1000)
    server = await asyncio.start_server(lambda r, w: relay(r, w, args, link), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(main())
